#include "audio/recproc.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "announcements/clip_files.hpp"
#include "base/byte_codec.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

using test::temp_folder;

std::vector<std::int16_t> silence(int n) {
  return std::vector<std::int16_t>(static_cast<std::size_t>(n), 0);
}

std::vector<std::int16_t> square(int n, std::int16_t amplitude) {
  std::vector<std::int16_t> b(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    b[static_cast<std::size_t>(i)] = i % 2 ? amplitude : static_cast<std::int16_t>(-amplitude);
  return b;
}

void feed(rectmp& t, std::vector<std::int16_t> b) {
  t.append_block(b.data(), static_cast<std::int32_t>(2 * b.size()));
}

std::vector<std::int16_t> clip_samples(const temp_folder& dir, int n) {
  char name[16];
  std::snprintf(name, sizeof name, "afl%.3d.aud", n);
  const auto bytes = dir.read(name);
  std::vector<std::int16_t> s(bytes.size() / 2);
  for (std::size_t i = 0; i < s.size(); ++i) s[i] = load_le<std::int16_t>(bytes.data() + 2 * i);
  return s;
}

struct run_result {
  bool ok;
  std::int16_t clip;
  std::int32_t length;
  recproc_failure failure;
  std::vector<level_warning> warnings;
  int gain;
};

run_result run(station& st, rectmp& src) {
  std::int16_t clip = 77;
  std::int32_t length = 99;
  recproc p(st, &src, &clip, &length);
  EXPECT_EQ(clip, -1);  // no clip from the start
  EXPECT_EQ(length, 0);
  if (p.start()) {
    while (p.step()) {
    }
  }
  return {p.succeeded(), clip, length, p.failure(), p.warnings(), p.gain()};
}

// Three whole blocks, only the second loud: the clip holds all three processed blocks, its
// length ends one block after the loud one.
TEST(Recproc, ThreeBlockTrim) {
  temp_folder dir;
  station st(dir.path());
  rectmp src;
  feed(src, square(512, 200));
  feed(src, square(512, 10000));
  feed(src, silence(512));
  // What the processing reads: the rectmp's filtered samples.
  src.rewind();
  std::vector<std::int16_t> in(1536);
  ASSERT_EQ(src.fetch_block(in.data(), 3072), 3072);

  const auto r = run(st, src);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.gain, 1024);  // three blocks are too few for the histogram rule
  EXPECT_EQ(r.clip, 0);
  EXPECT_EQ(r.length, 1024);
  EXPECT_EQ(st.clip_use[0] & clip_allocated, clip_allocated);
  const auto s = clip_samples(dir, 0);
  ASSERT_EQ(s.size(), 1536u);
  // The first block fades in: the Q20 gain climbs by 2048 a sample from 0 to unity (1 << 20),
  // and each sample is scaled by its Q10 part.
  for (int k = 0; k < 512; ++k) {
    const std::int32_t g = (2048 * (k + 1)) >> 10;
    ASSERT_EQ(s[static_cast<std::size_t>(k)], (in[static_cast<std::size_t>(k)] * g) >> 10) << k;
  }
  // Then unity gain: the loud block comes out as it went in.
  for (std::size_t k = 512; k < 1536; ++k) ASSERT_EQ(s[k], in[k]) << k;
}

TEST(Recproc, LengthNeverExceedsWhatWasWritten) {
  temp_folder dir;
  station st(dir.path());
  rectmp src;
  feed(src, silence(512));
  feed(src, square(700, 10000));  // the loud end lies in a partial last block
  const auto r = run(st, src);
  ASSERT_TRUE(r.ok);
  const auto s = clip_samples(dir, r.clip);
  EXPECT_EQ(s.size(), 1212u);
  EXPECT_EQ(r.length, 1212);
}

TEST(Recproc, SilentRecordingMakesNoClip) {
  temp_folder dir;
  station st(dir.path());
  rectmp src;
  for (int i = 0; i < 40; ++i) feed(src, square(512, 100));
  const auto r = run(st, src);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.failure, recproc_failure::silent);
  EXPECT_EQ(r.clip, -1);
  EXPECT_EQ(r.length, 0);
  EXPECT_EQ(st.clip_use[0], 0);
  EXPECT_FALSE(dir.exists("afl000.aud"));
  // The gain rule's largest lift was not enough: the level was very low.
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_EQ(r.warnings[0], level_warning::very_low);
  EXPECT_STREQ(level_warning_tag(r.warnings[0]), "warn: level very low");
}

TEST(Recproc, VeryLoudRecordingWarnsAndStillProcesses) {
  temp_folder dir;
  station st(dir.path());
  rectmp src;
  for (int i = 0; i < 40; ++i) feed(src, square(512, 32000));
  const auto r = run(st, src);
  EXPECT_TRUE(r.ok);
  EXPECT_LE(r.gain, gain_warn_high);
  ASSERT_EQ(r.warnings.size(), 1u);
  EXPECT_STREQ(level_warning_tag(r.warnings[0]), "warn: level very high");
}

// Quiet speech sets a large gain; loud bursts in it must still stay under the ceiling.
TEST(Recproc, LimiterCeiling16352) {
  temp_folder dir;
  station st(dir.path());
  rectmp src;
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> quiet(-1200, 1200), loud(-32768, 32767);
  for (int blk = 0; blk < 200; ++blk) {
    std::vector<std::int16_t> b(512);
    // One block of full-scale noise: too rare to move the gain, which is set by the speech.
    for (auto& v : b) v = static_cast<std::int16_t>(blk == 120 ? loud(rng) : quiet(rng));
    feed(src, b);
  }
  const auto r = run(st, src);
  ASSERT_TRUE(r.ok);
  EXPECT_GT(r.gain, 4000);
  const auto s = clip_samples(dir, r.clip);
  int peak = 0;
  for (auto v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
  EXPECT_LE(peak, 16352);
  EXPECT_GT(peak, 15000);  // the bursts are brought up to the ceiling, not far below it
}

TEST(Recproc, NoFreeClip) {
  temp_folder dir;
  station st(dir.path());
  st.clip_use.fill(clip_allocated);
  rectmp src;
  feed(src, square(2048, 10000));
  const auto r = run(st, src);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.failure, recproc_failure::no_free_clip);
  EXPECT_EQ(r.clip, -1);
}

TEST(Recproc, ClipFileNotCreated) {
  station st("/nonexistent-zta-folder/");
  rectmp src;
  feed(src, square(2048, 10000));
  const auto r = run(st, src);
  EXPECT_EQ(r.failure, recproc_failure::clip_not_created);
  EXPECT_EQ(st.clip_use[0], 0);
}

TEST(Recproc, CancelDeletesThePartClipUnlessHeld) {
  for (bool held : {false, true}) {
    temp_folder dir;
    station st(dir.path());
    if (held) st.clip_use[0] = clip_held;  // the player has clip 0: the job takes 1
    rectmp src;
    for (int i = 0; i < 20; ++i) feed(src, square(512, 10000));
    std::int16_t clip = -1;
    std::int32_t length = 0;
    const int n = held ? 1 : 0;
    {
      recproc p(st, &src, &clip, &length);
      ASSERT_TRUE(p.start());
      EXPECT_TRUE(p.step());
      EXPECT_TRUE(dir.exists(held ? "afl001.aud" : "afl000.aud"));
      p.cancel();
      EXPECT_FALSE(p.step());
      EXPECT_EQ(p.failure(), recproc_failure::cancelled);
    }
    EXPECT_EQ(clip, -1);
    EXPECT_EQ(st.clip_use[static_cast<std::size_t>(n)] & clip_allocated, 0);
    EXPECT_FALSE(dir.exists(held ? "afl001.aud" : "afl000.aud"));
  }
}

// A save in a nested event loop runs the clip clean-up while the clip being written belongs to no
// announcement yet: it must survive it.
TEST(Recproc, CleanUpInTheMiddleKeepsTheClipBeingWritten) {
  temp_folder dir;
  station st(dir.path());
  rectmp src;
  for (int i = 0; i < 8; ++i) feed(src, square(512, 10000));
  std::int16_t clip = -1;
  std::int32_t length = 0;
  recproc p(st, &src, &clip, &length);
  ASSERT_TRUE(p.start());
  ASSERT_TRUE(p.step());
  clip_cleanup(st);
  while (p.step()) clip_cleanup(st);
  ASSERT_TRUE(p.succeeded());
  EXPECT_EQ(st.clip_use[static_cast<std::size_t>(clip)] & clip_allocated, clip_allocated);
  EXPECT_EQ(clip_samples(dir, clip).size(), 8u * 512);
}

TEST(Recproc, ProcessInLoopReportsWarningsAndTheClip) {
  temp_folder dir;
  station st(dir.path());
  rectmp src;
  for (int i = 0; i < 64; ++i) feed(src, square(512, 32000));
  std::int16_t clip = -1;
  std::int32_t length = 0;
  std::vector<level_warning> warnings;
  EXPECT_EQ(process_in_loop(st, src, clip, length, &warnings), recproc_failure::none);
  EXPECT_EQ(clip, 0);
  EXPECT_GT(length, 0);
  EXPECT_EQ(warnings, std::vector<level_warning>{level_warning::very_high});
}

}  // namespace
}  // namespace zta
