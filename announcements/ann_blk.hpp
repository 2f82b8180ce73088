#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zta {

inline constexpr std::int32_t moment_immediate = 0;
inline constexpr std::int32_t moment_never = 0x7FFFFFFF;
inline constexpr std::int32_t seconds_per_day = 86400;
inline constexpr std::uint8_t every_day = 127;
inline constexpr std::size_t name_field_size = 32;   // at most 31 bytes of name
inline constexpr std::size_t max_fixed_times = 255;  // what a one-byte count can carry
inline constexpr std::size_t max_script_length = 65535;

// The fixed 65-byte part of an announcement, stored byte for byte (see encode_staticdata).
// A freshly allocated record is all zero with no clip.
struct ann_blk_staticdata {
  std::array<char, name_field_size> name{};
  std::int32_t id_stamp = 0;
  std::int32_t id_serial = 0;  // length of the sound in samples; 0 until a sound is stored
  std::int32_t commence = 0;
  std::int32_t expiry = 0;
  std::int32_t day_from = 0;  // seconds since midnight, 0..86400
  std::int32_t day_to = 0;
  std::uint8_t weekdays = 0;  // bit 0 Sunday .. bit 6 Saturday
  std::uint8_t chimes = 0;
  std::uint8_t confirm = 0;
  std::uint8_t manual = 0;
  std::int16_t autoplay = 0;  // N > 0: every N minutes; 0: none; < 0: in sequence
  std::uint8_t user_made = 0;
  std::int16_t clip = -1;  // clip number 0..199, -1 = no sound yet
  bool operator==(const ann_blk_staticdata&) const = default;
};

inline constexpr std::size_t staticdata_size = 65;

void encode_staticdata(const ann_blk_staticdata& s, std::span<std::uint8_t, staticdata_size> out);
// Byte 31 of the name is forced to NUL, so a name always has at most 31 bytes.
ann_blk_staticdata decode_staticdata(std::span<const std::uint8_t, staticdata_size> in);

// One announcement: the fixed part plus its owned fixed-time list and script.
struct ann_blk : ann_blk_staticdata {
  std::vector<std::int32_t> fixed_times;  // in the order entered
  std::string script;                     // empty = none

  std::string_view name_text() const;
  void set_name(std::string_view text);  // cut to 31 bytes
  bool operator==(const ann_blk&) const = default;
};

// The values a record read from a package takes for every field the package leaves out.
ann_blk package_record_defaults();

}  // namespace zta
