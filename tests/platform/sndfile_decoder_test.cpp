// WAV data other than 16-bit PCM, decoded by libsndfile, through the reader and the import.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/byte_codec.hpp"
#include "platform/sndfile/sndfile_pcm_decoder.hpp"
#include "tests/audio/import_check.hpp"
#include "tests/audio/wav_builder.hpp"
#include "tests/audio/wav_reading.hpp"

namespace zta {
namespace {

using test::capture_sink;
using test::expect_imported;
using test::import_case;
using test::read_wav;
using test::speech;
using test::wav_builder;

TEST(AcmwavDecoded, EightBitPcm) {
  std::vector<std::uint8_t> body;
  body.reserve(5000);
  for (int i = 0; i < 5000; ++i) body.push_back(static_cast<std::uint8_t>(i * 13));
  sndfile_pcm_decoder_factory dec;
  const auto r = read_wav(wav_builder().fmt(1, 1, 22050, 8).chunk("data", body).finish(), &dec);
  ASSERT_TRUE(r.opened);
  ASSERT_EQ(r.sink.samples.size(), body.size());
  for (std::size_t i = 0; i < body.size(); ++i) {
    ASSERT_EQ(r.sink.samples[i], (body[i] - 128) * 256) << i;
  }
}

TEST(AcmwavDecoded, FloatWav) {
  std::vector<std::uint8_t> body;
  byte_writer w(body);
  const float values[] = {0.0f, 0.5f, -0.25f, 1.0f, -1.0f, 2.0f};
  for (float v : values) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    w.u32(u);
  }
  sndfile_pcm_decoder_factory dec;
  const auto r = read_wav(wav_builder().fmt(3, 1, 22050, 32).chunk("data", body).finish(), &dec);
  ASSERT_TRUE(r.opened);
  EXPECT_EQ(r.sink.samples, (std::vector<std::int16_t>{0, 16384, -8192, 32767, -32768, 32767}));
}

TEST(AcmwavDecoded, AdpcmFixtures) {
  sndfile_pcm_decoder_factory dec;
  struct row {
    const char* file;
    std::size_t min_samples;
  };
  for (const row& c : {row{"tone-ima-adpcm.wav", 7070}, row{"tone-ms-adpcm-stereo.wav", 6600}}) {
    SCOPED_TRACE(c.file);
    capture_sink sink;
    acmwav w(&dec);
    ASSERT_TRUE(w.open(std::string(ZTA_FIXTURES) + "/audio/" + c.file, &sink));
    EXPECT_TRUE(w.decoding());
    while (w.step()) {
    }
    EXPECT_GE(sink.samples.size(), c.min_samples);
    EXPECT_LE(sink.samples.size(), c.min_samples + 1100);  // rounded up to the codec's block
    const auto peak = *std::max_element(sink.samples.begin(), sink.samples.end());
    EXPECT_GT(peak, 7000);  // a tone at half scale (halved again when converted)
  }
}

TEST(ImportWavDecoded, FilesBecomeAnnouncementsWithClips) {
  std::vector<std::uint8_t> eight;
  for (auto v : speech(11025, 1)) eight.push_back(static_cast<std::uint8_t>((v >> 8) + 128));
  const import_case cases[] = {
      {"eight bit.wav", wav_builder().fmt(1, 1, 11025, 8).chunk("data", eight).finish(), 11025},
      {"tone-ima-adpcm.wav", {}, 6615},
  };
  sndfile_pcm_decoder_factory dec;
  for (const auto& c : cases) expect_imported(c, &dec);
}

}  // namespace
}  // namespace zta
