#pragma once
// Samples are stored and read as little-endian 16-bit words; these put a buffer of them into the
// host's order and back (nothing to do on a little-endian host).
#include <bit>
#include <cstddef>
#include <cstdint>

namespace zta {

inline void swap_le_samples(std::int16_t* s, std::size_t n) {
  if constexpr (std::endian::native != std::endian::little) {
    for (std::size_t i = 0; i < n; ++i) {
      auto u = static_cast<std::uint16_t>(s[i]);
      s[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>((u >> 8) | (u << 8)));
    }
  } else {
    (void)s;
    (void)n;
  }
}

}  // namespace zta
