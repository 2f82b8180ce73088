#pragma once
// Shared helpers of the loading tests: sounds, packages built by the encoder, clip contents.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "announcements/clip_files.hpp"
#include "announcements/station.hpp"
#include "loading/load_job.hpp"
#include "loading/package_writer.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta::test {

inline constexpr std::int32_t test_now = 1'800'000'000;  // well past the 7-day piece age

// A tone with a little noise and a loud stretch, so every code width is met.
inline std::vector<std::int16_t> test_sound(std::size_t n, std::uint32_t seed = 1) {
  std::vector<std::int16_t> s(n);
  std::uint32_t r = seed;
  for (std::size_t i = 0; i < n; ++i) {
    r = r * 1664525u + 1013904223u;
    double tone = std::sin(static_cast<double>(i) * 0.05 * (1 + seed % 3)) * 9000.0;
    double noise = static_cast<double>(static_cast<std::int32_t>(r >> 16) - 32768) / 16.0;
    double v = tone + noise;
    if (i % 1000 > 900) v *= 3.5;  // loud bursts: clamped by 8-bit, wide residuals
    if (i % 2000 < 50) v = 0;      // silence: width-0 groups
    v = std::fmax(-32768.0, std::fmin(32767.0, v));
    s[i] = static_cast<std::int16_t>(v);
  }
  return s;
}

inline package_record_spec record(std::string name, std::int32_t stamp, std::int32_t serial) {
  package_record_spec r;
  r.name = std::move(name);
  r.id_stamp = stamp;
  r.id_serial = serial;
  return r;
}

inline package_sound sound_for(const package_record_spec& r, bool twelve_bit, std::uint32_t seed) {
  package_sound s;
  s.id_stamp = r.id_stamp;
  s.k = twelve_bit ? -r.id_serial : r.id_serial;
  s.code = encode_sound(test_sound(static_cast<std::size_t>(r.id_serial), seed), twelve_bit);
  return s;
}

inline std::vector<std::int16_t> clip_samples(const temp_folder& dir, int clip) {
  char name[16];
  std::snprintf(name, sizeof name, "afl%.3d.aud", clip);
  std::vector<std::uint8_t> b = dir.read(name);
  std::vector<std::int16_t> out(b.size() / 2);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<std::int16_t>(b[2 * i] | (b[2 * i + 1] << 8));
  }
  return out;
}

// Runs a load job to its end; the number of steps it took.
inline int run_to_end(dlexe& job) {
  int steps = 0;
  while (job.step()) {
    if (++steps > 1'000'000) break;
  }
  return steps;
}

}  // namespace zta::test
