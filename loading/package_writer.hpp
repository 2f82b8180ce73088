#pragma once
// The encoder and builder of announcement packages, for distributors (the zta tool) and tests.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "loading/package_format.hpp"

namespace zta {

// One sound in the package code. The encoder runs the decoder's own predictor, so
// `reconstruction` is exactly what decoding `code` gives.
struct encoded_sound {
  std::vector<std::uint8_t> code;  // without the checksum byte
  std::uint8_t checksum = 125;
  std::vector<std::int16_t> reconstruction;
  std::size_t clamped = 0;  // samples that could not be reached (outside the precision's range)
};

// 8-bit precision reaches +-16384 (y x 128), 12-bit the full 16-bit range (y x 16).
encoded_sound encode_sound(std::span<const std::int16_t> pcm, bool twelve_bit);

struct package_sound {
  std::int32_t id_stamp = 0;
  std::int32_t k = 0;  // abs(K) samples; negative for 12-bit precision
  encoded_sound code;
};

struct package_build {
  std::int32_t version = 1;
  std::int32_t addressee = 0;           // ignored when `customers` is not empty
  std::vector<std::int32_t> customers;  // at most 4096, written as addressee -N
  bool has_list = true;
  std::vector<package_record_spec> records;  // at most 127
  std::optional<package_notice> notice;
};

std::vector<std::uint8_t> build_content(const package_build& b);
// Header, addressee list and content: the start of a package file, and the whole of "data.npd".
std::vector<std::uint8_t> build_package_head(const package_build& b);
// One audio section header (12 bytes).
void write_section_header(std::vector<std::uint8_t>& out, std::int32_t id_stamp, std::int32_t k,
                          std::int32_t piece_offset);
// The file and FTP form: head, then every sound as a whole section.
std::vector<std::uint8_t> build_package_file(const package_build& b,
                                             const std::vector<package_sound>& sounds);

struct disk_image {
  std::vector<std::uint8_t> data_npd;
  std::vector<std::vector<std::uint8_t>> pieces;  // "a.aud", "b.aud", ...
};
// The disk form: every disk holds "data.npd" and at most 26 piece files, all together at most
// `disk_size` bytes; a sound that does not fit continues on the next piece. Empty when
// `disk_size` cannot hold data.npd and one piece.
std::vector<disk_image> build_disk_set(const package_build& b,
                                       const std::vector<package_sound>& sounds,
                                       std::size_t disk_size);

}  // namespace zta
