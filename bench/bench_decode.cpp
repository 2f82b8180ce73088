// Decoding a 10-minute package sound (8- and 12-bit), and encoding one as `zta pack` does.
// Targets: decoding at least 100 M samples/s; encoding 10 minutes in under 2 s.
// With ZTA_BENCH_SMOKE set (the test command's smoke run) the sound lasts ten seconds.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "loading/package_writer.hpp"
#include "loading/section_decoder.hpp"

namespace {

const std::size_t ten_minutes = 22050 * (std::getenv("ZTA_BENCH_SMOKE") != nullptr ? 10 : 600);

// Speech-like material: tones under a slow envelope, noise, pauses.
const std::vector<std::int16_t>& program() {
  static const std::vector<std::int16_t> s = [] {
    std::vector<std::int16_t> v(ten_minutes);
    std::uint32_t r = 12345;
    for (std::size_t i = 0; i < v.size(); ++i) {
      r = r * 1664525u + 1013904223u;
      double t = static_cast<double>(i) / 22050.0;
      double env = 0.5 + 0.5 * std::sin(t * 3.0);
      if (std::fmod(t, 7.0) > 6.2) env = 0;
      double x =
          (std::sin(t * 2 * M_PI * 180) * 6000 + std::sin(t * 2 * M_PI * 1130) * 2500) * env +
          static_cast<double>(static_cast<std::int32_t>(r >> 20) - 2048) * env;
      v[i] = static_cast<std::int16_t>(x);
    }
    return v;
  }();
  return s;
}

class null_output final : public zta::sample_output {
 public:
  void write(std::span<const std::int16_t> s) override { benchmark::DoNotOptimize(s.data()); }
};

void decode(benchmark::State& state) {
  const bool twelve = state.range(0) == 12;
  const zta::encoded_sound enc = zta::encode_sound(program(), twelve);
  std::vector<std::uint8_t> bytes = enc.code;
  bytes.push_back(enc.checksum);
  const auto k = static_cast<std::int32_t>(ten_minutes);
  null_output out;
  for (auto _ : state) {
    zta::section_decoder_state s;
    zta::start_section(s, twelve ? -k : k);
    // In the blocks the load job reads.
    for (std::size_t pos = 0; pos < bytes.size() && !s.done;) {
      std::size_t n = std::min(zta::code_block_size, bytes.size() - pos);
      pos += zta::decode_section(s, std::span<const std::uint8_t>(bytes.data() + pos, n), out);
    }
    if (!s.done || s.error) state.SkipWithError("decoding failed");
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * ten_minutes));
  state.counters["code_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(decode)->Arg(8)->Arg(12)->Unit(benchmark::kMillisecond);

void encode(benchmark::State& state) {
  const bool twelve = state.range(0) == 12;
  for (auto _ : state) {
    zta::encoded_sound enc = zta::encode_sound(program(), twelve);
    benchmark::DoNotOptimize(enc.code.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * ten_minutes));
}
BENCHMARK(encode)->Arg(8)->Arg(12)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
