#pragma once
// The backward-adaptive predictor of the package audio code. The decoder and the encoder both run
// exactly this, so the encoder's reconstruction is what every decoder produces.
//
// Packages written elsewhere were made with 32-bit two's complement arithmetic, so every step is
// computed wider and wrapped to 32 bits where that arithmetic would have wrapped; the result is
// then bit-identical without relying on undefined overflow.
#include <cstdint>

namespace zta {

inline std::int32_t wrap32(std::int64_t v) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)));
}
inline std::int16_t wrap16(std::int64_t v) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(v)));
}
inline std::int8_t wrap8(std::int64_t v) {
  return static_cast<std::int8_t>(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v)));
}

struct predictor {
  std::int16_t y1 = 0;
  std::int16_t y2 = 0;
  std::int16_t a1 = 0;
  std::int16_t a2 = 0;

  std::int32_t predict() const {
    std::int64_t sum = std::int64_t{a1} * y1 + (std::int64_t{a2} - a1) * y2 + 128;
    return wrap32(sum) >> 8;  // arithmetic shift
  }

  // (24 e y) / (y y + e e + 1) in 32-bit arithmetic, truncating. With 16-bit y and |e| <= 2^15 the
  // divisor stays positive; should it ever wrap to 0 the coefficient is left as it is.
  static std::int32_t adaptation(std::int32_t e, std::int32_t y) {
    std::int32_t num = wrap32(std::int64_t{24} * e * y);
    std::int32_t den = wrap32(std::int64_t{y} * y + std::int64_t{e} * e + 1);
    if (den == 0) return 0;
    if (den == -1) return wrap32(-std::int64_t{num});
    return num / den;
  }

  // Takes residual e, returns the new value n (already wrapped to the precision) and adapts.
  std::int32_t step(std::int32_t e, bool twelve_bit) {
    std::int32_t sum = wrap32(std::int64_t{predict()} + e);
    std::int32_t n = twelve_bit ? std::int32_t{wrap16(sum)} : std::int32_t{wrap8(sum)};
    if (e != 0) {  // a zero residual adapts nothing
      a1 = wrap16(std::int64_t{a1} + adaptation(e, y1));
      a2 = wrap16(std::int64_t{a2} + adaptation(e, y2));
    }
    y2 = y1;
    y1 = static_cast<std::int16_t>(n);
    return n;
  }

  // The clip sample for the current y1.
  std::int16_t output(bool twelve_bit) const {
    return twelve_bit ? wrap16(std::int32_t{y1} * 16) : wrap16(std::int32_t{y1} * 128);
  }
};

}  // namespace zta
