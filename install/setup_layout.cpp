#include "install/setup_layout.hpp"

#include "base/byte_codec.hpp"

namespace zta {

std::array<std::uint8_t, setup_trailer_size> encode_setup_trailer(const setup_trailer& t) {
  std::array<std::uint8_t, setup_trailer_size> out{};
  for (std::size_t i = 0; i < t.ends.size(); ++i) store_le<std::uint32_t>(&out[4 * i], t.ends[i]);
  store_le<std::uint32_t>(&out[20], t.checksum);
  return out;
}

setup_trailer decode_setup_trailer(std::span<const std::uint8_t, setup_trailer_size> bytes) {
  setup_trailer t;
  for (std::size_t i = 0; i < t.ends.size(); ++i) t.ends[i] = load_le<std::uint32_t>(&bytes[4 * i]);
  t.checksum = load_le<std::uint32_t>(&bytes[20]);
  return t;
}

bool setup_layout_fits(const setup_trailer& t, std::uint64_t file_length) {
  if (file_length < setup_trailer_size || file_length > 0xFFFFFFFFull) return false;
  if (t.ends[0] == 0) return false;
  for (std::size_t i = 1; i < t.ends.size(); ++i) {
    if (t.ends[i] < t.ends[i - 1]) return false;
  }
  return t.ends.back() <= file_length - setup_trailer_size;
}

std::uint32_t add_byte_sum(std::uint32_t sum, std::span<const std::uint8_t> bytes) {
  for (std::uint8_t b : bytes) sum += b;
  return sum;
}

std::uint64_t setup_install_total(const setup_trailer& t, std::uint64_t file_length) {
  return file_length - setup_trailer_size + t.ends[0];
}

}  // namespace zta
