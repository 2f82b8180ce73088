// zta chime: the chime clips are headerless 16-bit mono at 22050 Hz, of moderate level, and die
// away to silence.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/file_io.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

int run_chime(const std::string& args) {
  return std::system((std::string(ZTA_TOOL) + " chime " + args + " >/dev/null 2>&1").c_str());
}

std::vector<std::int16_t> read_clip(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  if (!read_whole_file(path, bytes)) return {};
  std::vector<std::int16_t> s(bytes.size() / 2);
  for (std::size_t i = 0; i < s.size(); ++i) {
    s[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return s;
}

double rms(const std::vector<std::int16_t>& s, double from_s, double to_s) {
  const auto a = static_cast<std::size_t>(from_s * 22050),
             b = static_cast<std::size_t>(to_s * 22050);
  double sum = 0;
  for (std::size_t i = a; i < b; ++i) sum += double(s[i]) * s[i];
  return std::sqrt(sum / double(b - a));
}

TEST(ZtaChime, ClipsHaveTheRightLengthLevelAndDecay) {
  test::temp_folder dir;
  for (int n = 1; n <= 3; ++n) {
    const std::string path = dir.path() + "chimes" + std::to_string(n) + ".aud";
    ASSERT_EQ(run_chime(std::to_string(n) + " --out " + path), 0) << n;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(read_whole_file(path, bytes));
    EXPECT_EQ(bytes.size() % 2, 0u);
    const auto s = read_clip(path);
    const double seconds = double(s.size()) / 22050;
    EXPECT_GE(seconds, 1.0) << n;
    EXPECT_LE(seconds, 2.5) << n;
    int top = 0;
    for (auto v : s) top = std::max(top, std::abs(int(v)));
    EXPECT_GT(top, 8000) << n;                      // clearly audible
    EXPECT_LT(top, 24000) << n;                     // but not at full scale
    EXPECT_LT(std::abs(int(s.front())), 100) << n;  // soft start, no click
    EXPECT_EQ(s.back(), 0) << n;                    // ends in silence
    // Each note starts loud and the last one dies away.
    const double last_onset = 0.45 * (n - 1);
    EXPECT_GT(rms(s, last_onset, last_onset + 0.2), 8 * rms(s, seconds - 0.15, seconds)) << n;
  }
  // More notes make a longer clip.
  EXPECT_LT(read_clip(dir.path() + "chimes1.aud").size(),
            read_clip(dir.path() + "chimes3.aud").size());
}

TEST(ZtaChime, BadArgumentsWriteNothing) {
  test::temp_folder dir;
  const std::string out = dir.path() + "x.aud";
  for (const std::string& args :
       std::vector<std::string>{"0 --out " + out, "4 --out " + out, "two --out " + out, "2",
                                "--out " + out, "1 2 --out " + out}) {
    EXPECT_NE(run_chime(args), 0) << args;
    EXPECT_FALSE(file_exists(out)) << args;
  }
}

}  // namespace
}  // namespace zta
