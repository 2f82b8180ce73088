#pragma once
// The inner loop of ConvertRate: 64-tap integer dot products stepping through the phases. One
// portable loop and, on x86-64, an AVX2 loop chosen at run time, so one binary runs on any x86-64
// processor. The sums are wrapping 32-bit integer sums, so every kernel gives exactly the
// same outputs.
#include <cstdint>
#include <vector>

namespace zta {

enum class filter_kernel { portable, avx2 };

// The kernels this processor can run, the portable one first and the fastest last.
const std::vector<filter_kernel>& runnable_filter_kernels();
filter_kernel fastest_filter_kernel();

// What one run reads and where it starts: outputs are made while position < n - 63 and fewer
// than out_capacity have been written; phase and position carry on from where the last run
// stopped. Each coefficient row is 64 taps, the last zero.
struct polyphase_run {
  const std::int16_t* in = nullptr;
  std::int16_t* out = nullptr;
  std::int32_t n = 0;
  std::int32_t out_capacity = 0;
  const std::int16_t* coeffs = nullptr;
  std::int32_t phases = 1;
  std::int32_t step_whole = 0;  // M / L
  std::int32_t step_frac = 0;   // M % L
  std::int32_t phase = 0;
  std::int32_t position = 0;
};

// Runs the filter; returns the outputs written and leaves phase and position where it stopped.
std::int32_t run_polyphase(filter_kernel k, polyphase_run& r);

}  // namespace zta
