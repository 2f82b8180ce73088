#include "audio/read_ahead.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "tests/audio/wav_builder.hpp"
#include "tests/audio/wav_reading.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

using test::capture_sink;
using test::pcm16_wav;
using test::temp_folder;
using test::wav_builder;

std::vector<std::int16_t> noise(std::size_t n, std::uint32_t seed) {
  std::vector<std::int16_t> s(n);
  for (auto& v : s) {
    seed = seed * 1103515245u + 12345u;
    v = static_cast<std::int16_t>(seed >> 16);
  }
  return s;
}

// Frames of a made-up format, so the decoding path (larger pieces) runs on the worker too; it
// throws once it has delivered `throw_after` pieces (-1: never).
class counting_decoder final : public pcm_decoder {
 public:
  counting_decoder(long frames, int throw_after) : left_(frames), throw_after_(throw_after) {}
  int channels() const override { return 1; }
  std::size_t output_size(std::size_t source_bytes) const override { return 2 * source_bytes; }
  long read_frames(std::int16_t* out, long max_frames) override {
    if (throw_after_ >= 0 && calls_++ == throw_after_) throw std::runtime_error("decoder gave up");
    const long n = std::min(max_frames, left_);
    for (long i = 0; i < n; ++i) out[i] = static_cast<std::int16_t>((left_ - i) * 3);
    left_ -= n;
    return n;
  }

 private:
  long left_;
  int throw_after_;
  int calls_ = 0;
};

struct counting_factory final : pcm_decoder_factory {
  long frames = 0;
  int throw_after = -1;
  std::unique_ptr<pcm_decoder> open(const std::string&, const wav_data_info&) override {
    return std::make_unique<counting_decoder>(frames, throw_after);
  }
};

struct delivered {
  capture_sink sink;
  int more = 0;  // steps that said more was to come
};

delivered read_directly(const std::string& path, pcm_decoder_factory* dec) {
  delivered d;
  acmwav w(dec);
  EXPECT_TRUE(w.open(path, &d.sink));
  while (w.step()) ++d.more;
  return d;
}

delivered read_ahead(const std::string& path, pcm_decoder_factory* dec) {
  delivered d;
  acmwav w(dec);
  wav_read_ahead ahead;
  EXPECT_TRUE(ahead.open(w, path));
  while (ahead.step(d.sink)) ++d.more;
  EXPECT_FALSE(ahead.step(d.sink));  // and nothing after the last piece
  return d;
}

// The steps hand on exactly what the reader's own steps deliver: the same pieces in the same
// sizes, the last one in the same step, across several batches of the worker.
TEST(ReadAhead, HandsOnThePiecesTheReaderMakes) {
  auto damaged = pcm16_wav(22050, 1, noise(30000, 3));
  store_le<std::uint32_t>(damaged.data() + 40, 0xFFFFFFF0u);  // data runs past the file's end
  auto odd_end = pcm16_wav(44100, 2, noise(20000, 4));
  odd_end.push_back(0x55);
  store_le<std::uint32_t>(odd_end.data() + 40, 40001);
  store_le<std::uint32_t>(odd_end.data() + 4, static_cast<std::uint32_t>(odd_end.size() - 8));
  counting_factory decoded;
  decoded.frames = 3'000'000;
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    pcm_decoder_factory* decoders;
  } cases[] = {
      // 2.6 M samples: the worker fills and hands over more than one batch.
      {"mono 22050, a minute", pcm16_wav(22050, 1, noise(22050 * 60, 1)), nullptr},
      {"stereo 44100", pcm16_wav(44100, 2, noise(44100 * 2 * 3, 2)), nullptr},
      {"three channels 8000", pcm16_wav(8000, 3, noise(8000 * 3 * 2, 5)), nullptr},
      {"damaged", damaged, nullptr},
      {"odd end", odd_end, nullptr},
      {"decoded", wav_builder().fmt(1, 1, 22050, 8).chunk("data", {1, 2, 3, 4}).finish(), &decoded},
      {"one piece", pcm16_wav(22050, 1, noise(10, 6)), nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    temp_folder dir;
    dir.write("in.wav", c.bytes);
    const delivered want = read_directly(dir.file("in.wav"), c.decoders);
    const delivered got = read_ahead(dir.file("in.wav"), c.decoders);
    EXPECT_EQ(got.more, want.more);
    EXPECT_EQ(got.sink.block_bytes, want.sink.block_bytes);
    EXPECT_EQ(got.sink.samples, want.sink.samples);
  }
}

// A reader that throws: the pieces before go on, then the step that would have run the failing
// one throws the same, as the reader's own step does.
TEST(ReadAhead, AReaderFailureReachesTheStepAfterItsPieces) {
  temp_folder dir;
  dir.write("in.wav", wav_builder().fmt(1, 1, 22050, 8).chunk("data", {1, 2, 3, 4}).finish());
  counting_factory dec;
  dec.frames = 1'000'000;
  dec.throw_after = 40;
  acmwav w(&dec);
  wav_read_ahead ahead;
  ASSERT_TRUE(ahead.open(w, dir.file("in.wav")));
  capture_sink sink;
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(ahead.step(sink)) << i;
  EXPECT_THROW(ahead.step(sink), std::runtime_error);
  EXPECT_EQ(sink.block_bytes.size(), 40u);
  EXPECT_FALSE(ahead.step(sink));
}

// Stopping at any point ends the worker (it may be waiting for room); the reader is then the
// caller's again, the same read-ahead can read another file, and a file that cannot be read
// starts no worker at all.
TEST(ReadAhead, StopsAtAnyPointAndRefusesWhatTheReaderRefuses) {
  temp_folder dir;
  const auto samples = noise(22050 * 300, 7);
  dir.write("long.wav", pcm16_wav(22050, 1, samples));
  dir.write("text.wav", std::string("not a wave file"));
  wav_read_ahead ahead;
  for (int steps : {0, 1, 2000, 0}) {
    SCOPED_TRACE(steps);
    acmwav w;
    ASSERT_TRUE(ahead.open(w, dir.file("long.wav")));
    capture_sink sink;
    for (int i = 0; i < steps; ++i) ASSERT_TRUE(ahead.step(sink));
    ahead.stop();
    EXPECT_FALSE(ahead.step(sink));
    EXPECT_EQ(sink.block_bytes, std::vector<std::int32_t>(static_cast<std::size_t>(steps), 2048));
    EXPECT_TRUE(std::equal(sink.samples.begin(), sink.samples.end(), samples.begin()));
    w.close();
    EXPECT_FALSE(w.is_open());
  }
  acmwav w;
  EXPECT_FALSE(ahead.open(w, dir.file("text.wav")));
  EXPECT_EQ(w.error(), wav_error::not_riff);
  capture_sink sink;
  EXPECT_FALSE(ahead.step(sink));
  EXPECT_TRUE(sink.block_bytes.empty());
  // And after a refusal a readable file reads whole.
  acmwav again;
  ASSERT_TRUE(ahead.open(again, dir.file("long.wav")));
  while (ahead.step(sink)) {
  }
  EXPECT_EQ(sink.samples, samples);
}

}  // namespace
}  // namespace zta
