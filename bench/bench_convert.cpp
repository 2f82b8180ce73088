// Speed of the rate converter on 16-bit mono, in output samples per second (items/s), with each
// filter kernel this processor runs (0 portable, 1 AVX2).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "audio/convert_rate.hpp"

namespace {

void convert_rate(benchmark::State& state) {
  const auto in_rate = static_cast<std::int32_t>(state.range(0));
  std::vector<std::int16_t> input(1 << 16);
  for (std::size_t i = 0; i < input.size(); ++i) {
    input[i] = static_cast<std::int16_t>(12000 * std::sin(0.01 * static_cast<double>(i)) +
                                         static_cast<double>((i * 7919) % 4001) - 2000);
  }
  std::vector<std::int16_t> output(input.size() * 3 + 16);
  const auto& kernels = zta::runnable_filter_kernels();
  const auto k = static_cast<std::size_t>(state.range(1));
  if (k >= kernels.size()) {
    state.SkipWithError("kernel not runnable here");
    return;
  }
  zta::ConvertRate cr(in_rate, 22050);
  cr.use_kernel(kernels[k]);
  std::int64_t outputs = 0;
  for (auto _ : state) {
    std::int32_t count = static_cast<std::int32_t>(input.size());
    outputs += cr.convert(input.data(), output.data(), count);
    benchmark::DoNotOptimize(output.data());
  }
  state.SetItemsProcessed(outputs);
  static constexpr const char* names[] = {"portable", "avx2"};
  state.SetLabel(std::to_string(in_rate) + " -> 22050, " +
                 names[static_cast<std::size_t>(kernels[k])]);
}

}  // namespace

BENCHMARK(convert_rate)->ArgsProduct({{44100, 48000, 8000, 32000, 11025}, {0, 1}});
BENCHMARK_MAIN();
