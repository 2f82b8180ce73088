#include "audio/convert_rate.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace zta {
namespace {

int row_sum(const ConvertRate& c, int phase) {
  int s = 0;
  for (int j = 0; j < ConvertRate::taps; ++j) s += c.coefficient(phase, j);
  return s;
}

struct design_case {
  int in, out, l, m;
  long double fc;
  int centre;  // tap 31 of phase 0
};

TEST(ConvertRateDesign, RatiosCutoffsAndCentreTaps) {
  const design_case cases[] = {
      {44100, 22050, 1, 2, 0.453125L, 14848},    {11025, 22050, 2, 1, 0.975L, 31949},
      {8000, 22050, 11, 4, 0.975L, 31949},       {48000, 22050, 17, 37, 0.4125L, 13517},
      {32000, 22050, 20, 29, 0.6421875L, 21043},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    ConvertRate cr(c.in, c.out);
    ASSERT_TRUE(cr.has_table());
    EXPECT_EQ(cr.phases(), c.l);
    EXPECT_EQ(cr.step(), c.m);
    EXPECT_NEAR(static_cast<double>(cr.cutoff()), static_cast<double>(c.fc), 1e-12);
    EXPECT_EQ(cr.coefficient(0, 31), c.centre);
    EXPECT_EQ(cr.phase(), 0);
  }
}

TEST(ConvertRateDesign, RowsSumToAboutUnity) {
  ConvertRate down(44100, 22050);
  EXPECT_NEAR(row_sum(down, 0), 32750, 5);
  ConvertRate up(11025, 22050);
  EXPECT_NEAR(row_sum(up, 0), 32850, 5);
  EXPECT_NEAR(row_sum(up, 1), 32770, 5);
  // The half-sample phase is symmetric about its centre, between taps 31 and 32.
  for (int j = 1; j < 32; ++j) EXPECT_EQ(up.coefficient(1, j), up.coefficient(1, 63 - j)) << j;
}

TEST(ConvertRateDesign, BadRatesGiveNoTable) {
  for (auto [in, out] : {std::pair{0, 22050}, {22050, 0}, {-8000, 22050}, {10000000, 22050}}) {
    ConvertRate cr(in, out);
    EXPECT_FALSE(cr.has_table());
    std::vector<std::int16_t> x(200, 100), y(200);
    std::int32_t count = 200;
    EXPECT_EQ(cr.convert(x.data(), y.data(), count), 0);
    EXPECT_EQ(count, 200);  // untouched
  }
}

TEST(ConvertRateRun, FewerThan64InputsDoNothing) {
  ConvertRate cr(44100, 22050);
  std::vector<std::int16_t> x(63, 1000), y(64);
  std::int32_t count = 63;
  EXPECT_EQ(cr.convert(x.data(), y.data(), count), 0);
  EXPECT_EQ(count, 0);
  x.resize(64, 1000);
  count = 64;
  EXPECT_EQ(cr.convert(x.data(), y.data(), count), 1);
  EXPECT_EQ(count, 2);
}

TEST(ConvertRateRun, ConstantInputComesOutAtHalfAmplitude) {
  for (int in : {44100, 8000, 48000, 11025, 32000}) {
    ConvertRate cr(in, 22050);
    std::vector<std::int16_t> x(4000, 1000), y(12000);
    std::int32_t count = 4000;
    const std::int32_t n = cr.convert(x.data(), y.data(), count);
    ASSERT_GT(n, 0);
    for (std::int32_t i = 0; i < n; ++i) ASSERT_NEAR(y[static_cast<std::size_t>(i)], 500, 3) << in;
  }
}

// Any way of cutting a stream into calls, keeping what was not consumed, gives the same output.
TEST(ConvertRateRun, SplitCallsEqualOneCall) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> sample(-32768, 32767);
  std::vector<std::int16_t> x(20000);
  for (auto& v : x) v = static_cast<std::int16_t>(sample(rng));
  for (int in : {44100, 48000, 8000, 32000, 11025}) {
    SCOPED_TRACE(in);
    ConvertRate whole(in, 22050);
    std::vector<std::int16_t> expect(x.size() * 3);
    std::int32_t count = static_cast<std::int32_t>(x.size());
    expect.resize(static_cast<std::size_t>(whole.convert(x.data(), expect.data(), count)));

    ConvertRate pieces(in, 22050);
    std::vector<std::int16_t> got, pending, out(4000);
    std::uniform_int_distribution<int> piece(1, 700);
    std::size_t next = 0;
    while (next < x.size()) {
      const std::size_t take =
          std::min<std::size_t>(static_cast<std::size_t>(piece(rng)), x.size() - next);
      pending.insert(pending.end(), x.begin() + static_cast<long>(next),
                     x.begin() + static_cast<long>(next + take));
      next += take;
      std::int32_t c = static_cast<std::int32_t>(pending.size());
      const std::int32_t n = pieces.convert(pending.data(), out.data(), c);
      got.insert(got.end(), out.begin(), out.begin() + n);
      pending.erase(pending.begin(), pending.begin() + c);
    }
    EXPECT_EQ(got, expect);
  }
}

// A scalar reference of the integer arithmetic: the vectorised loop must match it bit for bit,
// including sums that wrap.
TEST(ConvertRateRun, MatchesScalarArithmeticExactly) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> sample(-32768, 32767);
  for (int in : {11025, 44100, 48000}) {
    ConvertRate cr(in, 22050);
    // The first window follows the signs of the taps: with the upsampling filter its sum passes
    // 2^31 and wraps.
    std::vector<std::int16_t> x(3000);
    for (std::size_t i = 0; i < x.size(); ++i) {
      x[i] = i < 63 ? (cr.coefficient(0, static_cast<int>(i)) >= 0 ? 32767 : -32768)
                    : static_cast<std::int16_t>(sample(rng));
    }
    std::vector<std::int16_t> y(x.size() * 3);
    std::int32_t count = static_cast<std::int32_t>(x.size());
    const std::int32_t n = cr.convert(x.data(), y.data(), count);
    std::int32_t pos = 0, phase = 0;
    for (std::int32_t o = 0; o < n; ++o) {
      std::uint32_t sum = 0;
      for (int k = 0; k < 63; ++k) {
        const std::int32_t product =
            x[static_cast<std::size_t>(pos) + static_cast<std::size_t>(k)] *
            cr.coefficient(phase, k);
        sum += static_cast<std::uint32_t>(product);
      }
      ASSERT_EQ(y[static_cast<std::size_t>(o)],
                static_cast<std::int16_t>(static_cast<std::int32_t>(sum + 32768u) >> 16))
          << in << " output " << o;
      phase += cr.step();
      pos += phase / cr.phases();
      phase %= cr.phases();
    }
    EXPECT_EQ(count, pos);
  }
}

// The vector kernels against the portable one: same outputs, same inputs consumed, same phase,
// whatever the cut of the stream into calls and the room given for outputs (the vector loop makes
// eight at a time and leaves the rest to the portable loop).
TEST(ConvertRateRun, EveryKernelGivesTheSameOutputs) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> sample(-32768, 32767);
  std::vector<std::int16_t> x(30000);
  for (auto& v : x) v = static_cast<std::int16_t>(sample(rng));
  // Full scale following the taps' signs: sums that wrap.
  ConvertRate probe(44100, 22050);
  for (int i = 0; i < 63; ++i)
    x[static_cast<std::size_t>(i)] = probe.coefficient(0, i) >= 0 ? 32767 : -32768;

  const auto run = [&](int in, filter_kernel k, std::uint32_t seed) {
    ConvertRate cr(in, 22050);
    cr.use_kernel(k);
    std::mt19937 cuts(seed);
    std::uniform_int_distribution<int> piece(1, 900), room(1, 40);
    std::vector<std::int16_t> got, pending, out(4000);
    std::vector<std::int32_t> trace;  // consumed and phase after every call
    std::size_t next = 0;
    while (next < x.size()) {
      const std::size_t take =
          std::min<std::size_t>(static_cast<std::size_t>(piece(cuts)), x.size() - next);
      pending.insert(pending.end(), x.begin() + static_cast<long>(next),
                     x.begin() + static_cast<long>(next + take));
      next += take;
      std::int32_t c = static_cast<std::int32_t>(pending.size());
      const std::int32_t n = cr.convert(pending.data(), out.data(), c, room(cuts));
      got.insert(got.end(), out.begin(), out.begin() + n);
      pending.erase(pending.begin(), pending.begin() + c);
      trace.push_back(c);
      trace.push_back(cr.phase());
    }
    return std::pair{got, trace};
  };
  for (int in : {44100, 66150, 88200, 48000, 8000, 11025, 32000}) {
    const auto expect = run(in, filter_kernel::portable, 5);
    ASSERT_GT(expect.first.size(), 1000u) << in;
    for (const filter_kernel k : runnable_filter_kernels()) {
      SCOPED_TRACE(testing::Message() << in << " kernel " << static_cast<int>(k));
      const auto got = run(in, k, 5);
      EXPECT_EQ(got.first, expect.first);
      EXPECT_EQ(got.second, expect.second);
    }
  }
}

TEST(ConvertRateRun, OutputCapacityIsRespected) {
  ConvertRate cr(8000, 22050);
  std::vector<std::int16_t> x(1000, 5), y(10, 0x7777);
  std::int32_t count = 1000;
  EXPECT_EQ(cr.convert(x.data(), y.data(), count, 5), 5);
  EXPECT_EQ(y[5], 0x7777);
  EXPECT_LT(count, 10);
}

}  // namespace
}  // namespace zta
