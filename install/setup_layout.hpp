#pragma once
// The setup file: the program's executable with the other members of an installation appended
// and a 24-byte trailer at its end holding where each member ends and a checksum.
//
//   0 .. o1        the program              installed as "vrxpar", and again as "uninst"
//   o1 .. o2       the manual               "manual.html"
//   o2 .. o3       one-note chime clip      "chimes1.aud"
//   o3 .. o4       two-note chime clip      "chimes2.aud"
//   o4 .. o5       three-note chime clip    "chimes3.aud"
//   o5 .. L - 24   the test package         "test.ann"
//   L - 24 .. L    trailer: o1 .. o5, checksum (uint32 little-endian each)
//
// The checksum is the wrapping 32-bit sum of every byte an installation writes: the program's
// bytes twice (they are written twice), every other member's once.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zta {

inline constexpr std::size_t setup_trailer_size = 24;
inline constexpr int setup_member_count = 6;  // program, manual, three chimes, package

struct setup_trailer {
  std::array<std::uint32_t, 5> ends{};  // o1 .. o5
  std::uint32_t checksum = 0;
  bool operator==(const setup_trailer&) const = default;
};

std::array<std::uint8_t, setup_trailer_size> encode_setup_trailer(const setup_trailer& t);
setup_trailer decode_setup_trailer(std::span<const std::uint8_t, setup_trailer_size> bytes);

// Whether the members lie in order inside a file of `file_length` bytes: a program of at least
// one byte, then o1 <= o2 <= ... <= o5 <= L - 24, and L within the 32-bit offsets.
bool setup_layout_fits(const setup_trailer& t, std::uint64_t file_length);

// `sum` plus every byte of `bytes`, modulo 2^32.
std::uint32_t add_byte_sum(std::uint32_t sum, std::span<const std::uint8_t> bytes);

// Total bytes an installation writes: the file without its trailer, plus the program once more.
std::uint64_t setup_install_total(const setup_trailer& t, std::uint64_t file_length);

}  // namespace zta
