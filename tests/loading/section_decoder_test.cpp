// The package audio decoder: hand-worked sections, wrapping arithmetic, block-wise resumption.
#include <gtest/gtest.h>

#include <limits>

#include "loading/package_writer.hpp"
#include "loading/predictor.hpp"
#include "loading/section_decoder.hpp"
#include "tests/loading/loading_helpers.hpp"

namespace zta {
namespace {

std::vector<std::int16_t> decode_all(std::int32_t k, const std::vector<std::uint8_t>& bytes,
                                     section_decoder_state& s, std::size_t* used = nullptr) {
  memory_output out;
  EXPECT_TRUE(start_section(s, k));
  std::size_t n = decode_section(s, bytes, out);
  if (used != nullptr) *used = n;
  return out.samples();
}

// Width 4, codes 13 11 4 15 (residuals 5 3 -4 7), worked by hand through the predictor:
// outputs 5 3 -4 7, coefficients after the last sample a1 = -11, a2 = -3.
TEST(SectionDecoder, HandWorkedSectionInBothPrecisions) {
  const std::vector<std::uint8_t> bytes = {0x4D, 0xB4, 0xF0, 110, 0xAA};
  for (bool twelve : {false, true}) {
    section_decoder_state s;
    std::size_t used = 0;
    auto samples = decode_all(twelve ? -4 : 4, bytes, s, &used);
    const std::int16_t scale = twelve ? 16 : 128;
    EXPECT_EQ(samples,
              (std::vector<std::int16_t>{
                  static_cast<std::int16_t>(5 * scale), static_cast<std::int16_t>(3 * scale),
                  static_cast<std::int16_t>(-4 * scale), static_cast<std::int16_t>(7 * scale)}));
    EXPECT_EQ(used, 4u) << "the checksum byte is used, the next byte is not";
    EXPECT_TRUE(s.done);
    EXPECT_FALSE(s.error);
    EXPECT_EQ(s.a1, -11);
    EXPECT_EQ(s.a2, -3);
    EXPECT_EQ(s.consumed, 3);
  }
}

TEST(SectionDecoder, ChecksumMismatchSetsTheErrorFlag) {
  section_decoder_state s;
  auto samples = decode_all(4, {0x4D, 0xB4, 0xF0, 111}, s);
  EXPECT_EQ(samples.size(), 4u);
  EXPECT_TRUE(s.done);
  EXPECT_TRUE(s.error);
}

TEST(SectionDecoder, KZeroIsOnlyTheChecksumByte) {
  section_decoder_state s;
  std::size_t used = 0;
  auto samples = decode_all(0, {125, 1, 2}, s, &used);
  EXPECT_TRUE(samples.empty());
  EXPECT_EQ(used, 1u);
  EXPECT_TRUE(s.done);
  EXPECT_FALSE(s.error);
}

TEST(SectionDecoder, KWithoutMagnitudeIsRefused) {
  section_decoder_state s;
  EXPECT_FALSE(start_section(s, std::numeric_limits<std::int32_t>::min()));
  memory_output out;
  EXPECT_EQ(decode_section(s, std::vector<std::uint8_t>{1, 2, 3}, out), 0u);
  EXPECT_TRUE(out.samples().empty());
}

// A width-0 group uses no bits: its 8 samples are the pure prediction from the state.
TEST(SectionDecoder, WidthZeroGroupIsPurePrediction) {
  section_decoder_state s;
  ASSERT_TRUE(start_section(s, 8));
  s.y1 = 100;
  s.y2 = 50;
  s.a1 = 256;
  s.a2 = 0;
  memory_output out;
  std::size_t used = decode_section(s, std::vector<std::uint8_t>{0x00, 125}, out);
  EXPECT_EQ(used, 2u);
  EXPECT_EQ(s.consumed, 1);
  EXPECT_EQ(s.bits, 4) << "half of the header byte is left over";
  std::vector<std::int16_t> expected;
  for (int v : {50, -50, -100, -50, 50, 100, 50, -50})
    expected.push_back(static_cast<std::int16_t>(v * 128));
  EXPECT_EQ(out.samples(), expected);
  EXPECT_EQ(s.a1, 256);
  EXPECT_EQ(s.a2, 0);
}

// Packages made elsewhere used 32-bit two's complement arithmetic: the wide results wrap.
TEST(Predictor, ArithmeticWrapsAsThirtyTwoBits) {
  // 24 x 16383 x 32767 wraps to -1179624, which divides to 0 (9 without the wrap).
  EXPECT_EQ(predictor::adaptation(16383, 32767), 0);
  EXPECT_EQ(predictor::adaptation(5, 3), 360 / 35);
  EXPECT_EQ(predictor::adaptation(-4, 5), -11) << "division truncates toward zero";
  predictor p{32767, -32768, 32767, -32768};
  // 32767 x 32767 + (-65535) x (-32768) + 128 = 3221127297 wraps to -1073839999.
  EXPECT_EQ(p.predict(), -4194688);
  EXPECT_EQ(p.step(0, true), -384) << "the new value wraps to 16 bits";
  predictor q{4096, 0, 0, 0};
  EXPECT_EQ(q.output(true), 0) << "y1 x 16 wraps to 16 bits";
  predictor r{-128, 0, 0, 0};
  EXPECT_EQ(r.output(false), -16384);
}

// Any split into blocks gives the same samples and the same final state as one block, and the
// fast whole-group path agrees with the sample-by-sample path.
TEST(SectionDecoder, BlockwiseDecodingMatchesWholeDecoding) {
  for (bool twelve : {false, true}) {
    auto pcm = test::test_sound(5003, twelve ? 7 : 3);
    encoded_sound enc = encode_sound(pcm, twelve);
    std::vector<std::uint8_t> bytes = enc.code;
    bytes.push_back(enc.checksum);
    const std::int32_t k = twelve ? -5003 : 5003;
    section_decoder_state whole;
    auto reference = decode_all(k, bytes, whole);
    ASSERT_EQ(reference, enc.reconstruction);
    ASSERT_TRUE(whole.done);
    ASSERT_FALSE(whole.error);
    for (std::size_t block : {1u, 2u, 3u, 15u, 16u, 17u, 100u, 4096u}) {
      section_decoder_state s;
      ASSERT_TRUE(start_section(s, k));
      memory_output out;
      std::size_t pos = 0;
      while (!s.done && pos < bytes.size()) {
        std::size_t n = std::min(block, bytes.size() - pos);
        pos += decode_section(s, std::span<const std::uint8_t>(bytes.data() + pos, n), out);
      }
      EXPECT_EQ(pos, bytes.size()) << "block " << block;
      EXPECT_EQ(out.samples(), reference) << "block " << block;
      EXPECT_EQ(s.y1, whole.y1);
      EXPECT_EQ(s.a1, whole.a1);
      EXPECT_EQ(s.a2, whole.a2);
      EXPECT_EQ(s.checksum, whole.checksum);
      EXPECT_EQ(s.consumed, whole.consumed);
      EXPECT_TRUE(s.done && !s.error) << "block " << block;
    }
  }
}

TEST(SectionDecoder, ChecksumByteAsFirstByteOfTheNextBlock) {
  auto pcm = test::test_sound(3000, 5);
  encoded_sound enc = encode_sound(pcm, false);
  section_decoder_state s;
  ASSERT_TRUE(start_section(s, 3000));
  memory_output out;
  EXPECT_EQ(decode_section(s, enc.code, out), enc.code.size());
  EXPECT_EQ(s.to_produce, 0);
  EXPECT_FALSE(s.done) << "all samples, but the checksum byte is still to come";
  std::vector<std::uint8_t> next = {enc.checksum, 0x12, 0x34};
  EXPECT_EQ(decode_section(s, next, out), 1u);
  EXPECT_TRUE(s.done);
  EXPECT_FALSE(s.error);
  EXPECT_EQ(out.samples(), enc.reconstruction);
}

TEST(PackageEncoder, ReconstructionIsExactWithinThePrecision) {
  // A quiet sound is reproduced to the precision's step; loud 8-bit samples are clamped.
  std::vector<std::int16_t> quiet(4000);
  for (std::size_t i = 0; i < quiet.size(); ++i) {
    quiet[i] = static_cast<std::int16_t>(std::sin(static_cast<double>(i) * 0.01) * 8000);
  }
  for (bool twelve : {false, true}) {
    encoded_sound enc = encode_sound(quiet, twelve);
    const int step = twelve ? 16 : 128;
    for (std::size_t i = 0; i < quiet.size(); ++i) {
      ASSERT_LE(std::abs(enc.reconstruction[i] - quiet[i]), step / 2) << i;
    }
    EXPECT_EQ(enc.clamped, 0u);
    EXPECT_LT(enc.code.size(), quiet.size() * (twelve ? 2 : 1)) << "it compresses";
  }
  std::vector<std::int16_t> loud(64, 30000);
  EXPECT_GT(encode_sound(loud, false).clamped, 0u);
  EXPECT_EQ(encode_sound(loud, true).clamped, 0u);
}

}  // namespace
}  // namespace zta
