#include "audio/polyphase_kernel.hpp"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace zta {

namespace {

constexpr int row = 64;

// One output at a time: the reference arithmetic, and the tail of the vector kernel. Inlined
// into each kernel, so it is compiled for that kernel's instruction set.
inline __attribute__((always_inline)) std::int32_t one_at_a_time(polyphase_run& r,
                                                                 std::int32_t outputs) {
  std::int32_t pos = r.position;
  std::int32_t ph = r.phase;
  while (pos < r.n - 63 && outputs < r.out_capacity) {
    const std::int16_t* x = r.in + pos;
    const std::int16_t* c = r.coeffs + ph * row;
    // Wrapping 32-bit sum: exactly the two's-complement result, in any order of addition.
    std::uint32_t sum = 0;
    for (int k = 0; k < row; ++k) {
      sum += static_cast<std::uint32_t>(static_cast<std::int32_t>(x[k]) * c[k]);
    }
    r.out[outputs++] = static_cast<std::int16_t>(static_cast<std::int32_t>(sum + 32768u) >> 16);
    ph += r.step_frac;
    pos += r.step_whole;
    if (ph >= r.phases) {
      ph -= r.phases;
      ++pos;
    }
  }
  r.phase = ph;
  r.position = pos;
  return outputs;
}

std::int32_t run_portable(polyphase_run& r) {
  return one_at_a_time(r, 0);
}

#if defined(__x86_64__)

// A whole-number ratio (one phase, 44100 -> 22050 among them) keeps its one coefficient row in
// registers and makes eight outputs at a time, their sums added across lanes together. Other
// ratios take a new row for every output, and their loads, not the arithmetic, set the pace.
__attribute__((target("avx2"))) std::int32_t run_avx2(polyphase_run& r) {
  std::int32_t outputs = 0;
  if (r.phases == 1) {
    const auto* cv = reinterpret_cast<const __m256i*>(r.coeffs);
    const __m256i c0 = _mm256_loadu_si256(cv);
    const __m256i c1 = _mm256_loadu_si256(cv + 1);
    const __m256i c2 = _mm256_loadu_si256(cv + 2);
    const __m256i c3 = _mm256_loadu_si256(cv + 3);
    const __m256i round = _mm256_set1_epi32(32768);
    const std::int32_t m = r.step_whole;
    while (outputs + 8 <= r.out_capacity && r.position + 7 * m < r.n - 63) {
      __m256i acc[8];
      for (int i = 0; i < 8; ++i) {
        const auto* x = reinterpret_cast<const __m256i*>(r.in + r.position + i * m);
        const __m256i p0 = _mm256_madd_epi16(_mm256_loadu_si256(x), c0);
        const __m256i p1 = _mm256_madd_epi16(_mm256_loadu_si256(x + 1), c1);
        const __m256i p2 = _mm256_madd_epi16(_mm256_loadu_si256(x + 2), c2);
        const __m256i p3 = _mm256_madd_epi16(_mm256_loadu_si256(x + 3), c3);
        acc[i] = _mm256_add_epi32(_mm256_add_epi32(p0, p1), _mm256_add_epi32(p2, p3));
      }
      const __m256i q0 =
          _mm256_hadd_epi32(_mm256_hadd_epi32(acc[0], acc[1]), _mm256_hadd_epi32(acc[2], acc[3]));
      const __m256i q1 =
          _mm256_hadd_epi32(_mm256_hadd_epi32(acc[4], acc[5]), _mm256_hadd_epi32(acc[6], acc[7]));
      // q0 holds outputs 0..3 in each 128-bit half, q1 outputs 4..7: add the halves.
      __m256i sums = _mm256_add_epi32(_mm256_permute2x128_si256(q0, q1, 0x20),
                                      _mm256_permute2x128_si256(q0, q1, 0x31));
      // (sum + 32768) >> 16 always fits 16 bits, so the saturating pack only narrows.
      sums = _mm256_srai_epi32(_mm256_add_epi32(sums, round), 16);
      const __m128i packed =
          _mm_packs_epi32(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(r.out + outputs), packed);
      outputs += 8;
      r.position += 8 * m;
    }
  }
  return one_at_a_time(r, outputs);
}

#endif

std::vector<filter_kernel> find_kernels() {
  std::vector<filter_kernel> k{filter_kernel::portable};
#if defined(__x86_64__)
  if (__builtin_cpu_supports("avx2")) k.push_back(filter_kernel::avx2);
#endif
  return k;
}

}  // namespace

const std::vector<filter_kernel>& runnable_filter_kernels() {
  static const std::vector<filter_kernel> kernels = find_kernels();
  return kernels;
}

filter_kernel fastest_filter_kernel() {
  return runnable_filter_kernels().back();
}

std::int32_t run_polyphase(filter_kernel k, polyphase_run& r) {
  switch (k) {
#if defined(__x86_64__)
    case filter_kernel::avx2:
      if (__builtin_cpu_supports("avx2")) return run_avx2(r);
      break;
#endif
    default:
      break;
  }
  return run_portable(r);
}

}  // namespace zta
