#include "audio/convert_rate.hpp"

#include <cmath>

namespace zta {

namespace {

// First seven terms of the series of the modified Bessel function I0.
long double bessel_i0(long double x) {
  const long double q = x * x / 4.0L;
  long double term = 1.0L;
  long double sum = 1.0L;
  for (int k = 1; k <= 6; ++k) {
    term *= q / static_cast<long double>(k * k);
    sum += term;
  }
  return sum;
}

long double round_half_away(long double v) {
  return v >= 0 ? v + 0.5L : v - 0.5L;
}

}  // namespace

ConvertRate::ConvertRate(std::int32_t input_rate, std::int32_t output_rate) {
  if (input_rate <= 0 || output_rate <= 0) return;
  const long double c = static_cast<long double>(input_rate) / output_rate;
  // Beyond these the ratio search's 16-bit numerator or the step itself would break down.
  if (c > 64.0L) return;

  int l = 1;
  long double best = c;
  for (int i = 1; i <= max_phases; ++i) {
    const auto r = static_cast<std::int16_t>(static_cast<std::int32_t>(c * i + 0.5L));
    const long double e = std::fabs(c - static_cast<long double>(r) / i);
    if (e < best) {
      l = i;
      if (e < 0.002L) break;
      best = e;
    }
  }
  const auto m = static_cast<std::int32_t>(c * l + 0.5L);
  if (m < 1) return;

  long double fc;
  long double beta;
  if (input_rate < output_rate) {
    fc = 0.975L;
    beta = 2.12L;
  } else {
    fc = static_cast<long double>(output_rate) / input_rate - 0.046875L;
    beta = 4.538L;
  }
  const long double pi = 3.14159265358979323846264338327950288L;
  const long double scale = fc * 32768.0L / bessel_i0(beta);

  std::vector<std::int16_t> table(static_cast<std::size_t>(l) * row_stride, 0);
  for (int i = 0; i < l; ++i) {
    const long double t = static_cast<long double>(i) / l;
    for (int j = 0; j < taps; ++j) {
      const long double u = j - 31 - t;
      long double v;
      if (u == 0.0L) {
        v = std::trunc(fc * 32768.0L + 0.5L);
      } else {
        const long double a = pi * fc * u;
        v = std::trunc(round_half_away(scale * std::sin(a) / a *
                                       bessel_i0(beta * std::sqrt(1.0L - u * u / 1024.0L))));
      }
      if (std::fabs(v) > 32767.0L) return;
      const auto k = static_cast<std::int16_t>(v);
      table[static_cast<std::size_t>(i) * row_stride + j] = k;
    }
  }

  phases_ = static_cast<std::uint16_t>(l);
  step_ = m;
  step_whole_ = m / l;
  step_frac_ = m % l;
  cutoff_ = fc;
  coeffs_ = std::move(table);
}

std::int32_t ConvertRate::coefficient(int phase, int tap) const {
  if (!has_table() || phase < 0 || phase >= phases_ || tap < 0 || tap >= taps) return 0;
  return coeffs_[static_cast<std::size_t>(phase) * row_stride + tap];
}

std::int32_t ConvertRate::convert(const std::int16_t* in, std::int16_t* out, std::int32_t& count,
                                  std::int32_t out_capacity) {
  if (!has_table()) return 0;
  polyphase_run r;
  r.in = in;
  r.out = out;
  r.n = count;
  r.out_capacity = out_capacity;
  r.coeffs = coeffs_.data();
  r.phases = phases_;
  r.step_whole = step_whole_;
  r.step_frac = step_frac_;
  r.phase = phase_;
  const std::int32_t outputs = run_polyphase(kernel_, r);
  phase_ = r.phase;
  // A step of more than 64 inputs could pass the end; never report more than was given.
  count = r.position < count ? r.position : count;
  return outputs;
}

}  // namespace zta
