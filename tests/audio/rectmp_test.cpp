#include "audio/rectmp.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <numeric>
#include <vector>

namespace zta {
namespace {

TEST(Rectmp, TemporaryFileLivesInTheCurrentDirectoryWhileTheObjectDoes) {
  std::string path;
  {
    rectmp t;
    ASSERT_TRUE(t.is_open());
    path = t.path();
    EXPECT_EQ(path.rfind("./rec", 0), 0u) << path;
    EXPECT_EQ(::access(path.c_str(), F_OK), 0);
  }
  EXPECT_NE(::access(path.c_str(), F_OK), 0);
}

// The high-pass filter: a constant block starts at half its value and decays toward 0.
TEST(Rectmp, ConstantBlockHalvesThenDecays) {
  rectmp t;
  std::vector<std::int16_t> b(512, 8000);
  t.append_block(b.data(), 1024);
  EXPECT_EQ(b[0], 4000);
  EXPECT_EQ(b[1], 4000 - (4000 >> 4));
  for (std::size_t i = 1; i < b.size(); ++i) ASSERT_LE(b[i], b[i - 1]);
  EXPECT_LT(std::abs(b[511]), 2);
  // Negative values shift toward minus infinity.
  rectmp n;
  std::vector<std::int16_t> c(4, -3);
  n.append_block(c.data(), 8);
  EXPECT_EQ(c[0], -2);
}

// Single-sample blocks on a fresh rectmp: y = x >> 1, energy (y >> 6)^2, loudness from T.
TEST(Rectmp, BlockLoudnessAndHistogram) {
  struct row {
    std::int16_t x;
    int loudness;
  };
  const row rows[] = {{0, 0}, {128, 1}, {256, 7}, {640, 15}, {-32768, 49}};
  for (const auto& r : rows) {
    rectmp t;
    std::int16_t s = r.x;
    EXPECT_EQ(t.append_block(&s, 2), r.loudness - 38) << r.x;
    EXPECT_EQ(t.histogram()[static_cast<std::size_t>(r.loudness)], 1) << r.x;
    EXPECT_EQ(std::accumulate(t.histogram().begin(), t.histogram().end(), 0), 1);
  }
  EXPECT_EQ(block_loudness(0), 0);
  EXPECT_EQ(block_loudness(31), 16);
  EXPECT_EQ(block_loudness(32), 3 + 13);
  EXPECT_EQ(block_loudness(262144), 55);  // the largest energy a sample can have
}

TEST(Rectmp, NoBlockIsLouderThan55) {
  rectmp t;
  std::vector<std::int16_t> b(2048);
  for (int round = 0; round < 8; ++round) {
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = (i + round) % 2 ? 32767 : -32768;
    EXPECT_LE(t.append_block(b.data(), 4096), 55 - 38);
  }
  for (std::size_t i = 56; i < t.histogram().size(); ++i) EXPECT_EQ(t.histogram()[i], 0);
}

TEST(Rectmp, EmptyAndOneByteBlocks) {
  rectmp t;
  std::int16_t s = 12345;
  EXPECT_EQ(t.append_block(&s, 0), 0);
  EXPECT_EQ(t.append_block(&s, -4), 0);
  EXPECT_EQ(std::accumulate(t.histogram().begin(), t.histogram().end(), 0), 0);
  // Half a sample (the odd end of a 16-bit file) is a block of silence, not a division by zero.
  EXPECT_EQ(t.append_block(&s, 1), -38);
  EXPECT_EQ(t.histogram()[0], 1);
}

TEST(Rectmp, FetchReadsBackWhatWasAppended) {
  rectmp t;
  std::vector<std::int16_t> b = {100, -200, 300, -400, 500};
  t.append_block(b.data(), 10);
  t.rewind();
  std::vector<std::int16_t> back(8, 0);
  EXPECT_EQ(t.fetch_block(back.data(), 16), 10);
  EXPECT_TRUE(std::equal(b.begin(), b.end(), back.begin()));
  EXPECT_EQ(t.fetch_block(back.data(), 16), 0);
}

loudness_histogram all_at(int loudness, int blocks) {
  loudness_histogram h{};
  h[static_cast<std::size_t>(loudness)] = static_cast<std::uint16_t>(blocks);
  return h;
}

// A uniform loudness L gives G[39 - L], clamped to the table's ends.
// The processing gives back the room of what it has read as it goes: everything still reads back
// exactly as appended, across several stretches, and the file's blocks shrink where the file
// system can punch holes.
TEST(Rectmp, GivingBackWhatIsReadKeepsTheRestIntact) {
  rectmp t;
  ASSERT_TRUE(t.is_open());
  std::vector<std::int16_t> written;
  std::vector<std::int16_t> block(2048);
  std::uint32_t seed = 9;
  const std::size_t total = static_cast<std::size_t>(3 * rectmp::give_back_stretch + 3000) / 2;
  while (written.size() < total) {
    for (auto& v : block) {
      seed = seed * 1103515245u + 12345u;
      v = static_cast<std::int16_t>(seed >> 16);
    }
    const std::size_t n = std::min(block.size(), total - written.size());
    t.append_block(block.data(), static_cast<std::int32_t>(2 * n));
    written.insert(written.end(), block.begin(), block.begin() + static_cast<long>(n));
  }
  t.rewind();
  t.give_back_what_is_read();
  std::vector<std::int16_t> read(written.size() + 512);
  std::size_t at = 0;
  for (std::int32_t r; (r = t.fetch_block(read.data() + at, 1024)) > 0;)
    at += static_cast<std::size_t>(r) / 2;
  read.resize(at);
  EXPECT_EQ(read, written);

  struct stat st {};
  ASSERT_EQ(::stat(t.path().c_str(), &st), 0);
  const auto stored = static_cast<std::int64_t>(st.st_blocks) * 512;
  const auto size = static_cast<std::int64_t>(st.st_size);
  EXPECT_EQ(size, static_cast<std::int64_t>(2 * written.size()));
  // Where holes can be punched (the Linux file systems the player runs on), two stretches went
  // back (the rest is stored in whole blocks).
#if defined(__linux__)
  EXPECT_LE(stored, size - 2 * rectmp::give_back_stretch + 65536) << "stored " << stored;
#endif
}

TEST(NormalisingGain, ListedValues) {
  struct row {
    loudness_histogram h;
    int gain;
  };
  const row rows[] = {
      {loudness_histogram{}, 1024}, {all_at(50, 100), 288},  {all_at(20, 100), 8145},
      {all_at(21, 100), 8145},      {all_at(22, 100), 7259}, {all_at(39, 100), 1024},
      {all_at(55, 100), 162},       {all_at(0, 100), 8145},  {all_at(40, 7), 1024},
  };
  for (const auto& r : rows) EXPECT_EQ(normalising_gain(r.h), r.gain);
}

// The loudest sixteenth sets the level: a few very loud blocks among many quiet ones do not.
TEST(NormalisingGain, FollowsTheLoudEndOfTheSpeech) {
  loudness_histogram h = all_at(30, 160);
  h[45] = 20;                           // more than a sixteenth of the blocks
  EXPECT_EQ(normalising_gain(h), 513);  // G[39 - 45]
  h[52] = 1;                            // a single click is not the speech's level
  EXPECT_EQ(normalising_gain(h), 513);
}

}  // namespace
}  // namespace zta
