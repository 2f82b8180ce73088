#pragma once
// Sample-rate conversion of 16-bit mono streams by polyphase filtering with a Kaiser-windowed
// sinc. The ratio is approximated by M/L (at most 255 phases); each phase has 63 integer taps
// designed once in extended precision, so the conversion itself is integer arithmetic only.
#include <cstdint>
#include <limits>
#include <vector>

#include "audio/polyphase_kernel.hpp"

namespace zta {

class ConvertRate {
 public:
  static constexpr int taps = 63;
  static constexpr int max_phases = 255;

  // Rates in samples per second. Rates that are not positive, or a ratio that would not advance
  // through the input, leave the converter without a coefficient table.
  ConvertRate(std::int32_t input_rate, std::int32_t output_rate);

  bool has_table() const { return !coeffs_.empty(); }
  std::uint16_t phases() const { return phases_; }  // L
  std::int32_t step() const { return step_; }       // M
  std::int32_t phase() const { return phase_; }
  long double cutoff() const { return cutoff_; }
  std::int32_t coefficient(int phase, int tap) const;

  // Converts count input samples; on return count holds the input samples consumed (the caller
  // keeps the rest for the next call). Returns the outputs written, at most out_capacity. The
  // phase carries over between calls. Without a coefficient table: 0, count untouched.
  std::int32_t convert(const std::int16_t* in, std::int16_t* out, std::int32_t& count,
                       std::int32_t out_capacity = std::numeric_limits<std::int32_t>::max());

  // The fastest kernel this processor runs, unless a test asks for another (every kernel gives
  // the same outputs).
  void use_kernel(filter_kernel k) { kernel_ = k; }

 private:
  static constexpr int row_stride = 64;  // 63 taps and a zero, so the dot product vectorises

  std::uint16_t phases_ = 1;
  std::int32_t phase_ = 0;
  std::int32_t step_ = 0;
  std::int32_t step_whole_ = 0;  // M / L
  std::int32_t step_frac_ = 0;   // M % L
  long double cutoff_ = 0;
  // Every tap fits in 16 bits (|tap| <= cutoff x 32768 < 32768), so the dot product can use
  // 16-bit multiply-adds into 32-bit sums.
  std::vector<std::int16_t> coeffs_;  // phases_ rows of row_stride
  filter_kernel kernel_ = fastest_filter_kernel();
};

}  // namespace zta
