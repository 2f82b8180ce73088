#pragma once
// Sounds of a disk set that arrive in pieces: sounds whose first pieces are decoded into a clip
// while the continuation has not been seen, and continuation pieces that arrived before the
// pieces that precede them. Both live in memory only, for the run.
#include <array>
#include <cstdint>

namespace zta {

// The whole state of the package audio decoder between two blocks (and between two disks).
struct section_decoder_state {
  std::uint32_t accumulator = 0;
  std::uint8_t bits = 0;        // bits available in the accumulator
  std::uint8_t group_left = 0;  // samples left in the current group of 8
  std::uint8_t width = 0;       // code width of the current group, 0..15
  std::int16_t y1 = 0;
  std::int16_t y2 = 0;
  std::int16_t a1 = 0;
  std::int16_t a2 = 0;
  std::uint8_t checksum = 125;
  std::int32_t to_produce = 0;  // samples still to produce
  std::int32_t consumed = 0;    // code bytes consumed
  bool error = false;           // checksum byte did not match
  bool done = false;            // the checksum byte has been consumed
  bool twelve_bit = false;      // precision: 12-bit when K < 0, else 8-bit
};

inline constexpr int piece_slots = 4;
inline constexpr std::int32_t piece_max_age = 604800;  // 7 days

struct partial_sound {
  std::int16_t clip = -1;
  std::int32_t id_stamp = 0;
  std::int32_t samples = 0;  // abs(K)
  std::int32_t stored_at = 0;
  section_decoder_state decoder;
};

struct temp_piece {
  std::int32_t id_stamp = 0;
  std::int32_t samples = 0;
  std::int32_t piece_offset = 0;  // 0 = slot empty
  std::int32_t stored_at = 0;
};

struct piece_tables {
  std::array<partial_sound, piece_slots> partial{};
  int next_partial = 0;
  std::array<temp_piece, piece_slots> temporary{};
  int next_temporary = 0;
};

// "a.tmp" .. "d.tmp"
const char* temp_piece_name(int slot);

}  // namespace zta
