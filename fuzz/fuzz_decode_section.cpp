// Decodes arbitrary code bytes: once whole and once in blocks of a size the input chooses. Both
// must end in the same samples and state (the fast whole-group path agrees with the careful one),
// and nothing may read outside the block.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "loading/section_decoder.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 6) return 0;
  std::int32_t k;
  std::memcpy(&k, data, 4);
  k %= 200000;  // bounded sounds keep each run short
  const std::size_t block = 1 + data[4] % 64;
  std::vector<std::uint8_t> code(data + 5, data + size);  // own copy: exact bounds for ASan

  zta::section_decoder_state whole;
  zta::memory_output whole_out;
  if (!zta::start_section(whole, k)) return 0;
  std::size_t whole_used = zta::decode_section(whole, code, whole_out);
  if (whole_used > code.size()) __builtin_trap();

  zta::section_decoder_state parts;
  zta::memory_output parts_out;
  zta::start_section(parts, k);
  std::size_t pos = 0;
  while (!parts.done && pos < code.size()) {
    std::vector<std::uint8_t> piece(
        code.begin() + static_cast<long>(pos),
        code.begin() + static_cast<long>(std::min(code.size(), pos + block)));
    std::size_t used = zta::decode_section(parts, piece, parts_out);
    if (used > piece.size()) __builtin_trap();
    pos += used;
    if (used < piece.size() && !parts.done) __builtin_trap();
  }
  if (pos != whole_used) __builtin_trap();
  if (parts_out.samples() != whole_out.samples()) __builtin_trap();
  if (parts.done != whole.done || parts.error != whole.error || parts.y1 != whole.y1 ||
      parts.a1 != whole.a1 || parts.a2 != whole.a2 || parts.consumed != whole.consumed ||
      parts.to_produce != whole.to_produce || parts.checksum != whole.checksum) {
    __builtin_trap();
  }
  return 0;
}
