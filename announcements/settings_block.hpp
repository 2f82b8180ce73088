#pragma once
// The settings block (465 bytes), the load options block (410 bytes) and the owner block (107
// bytes), held as records with their defaults and coded at their stored offsets.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zta {

inline constexpr int max_day_parts = 24;
inline constexpr std::size_t settings_block_size = 465;
inline constexpr std::size_t load_options_size = 410;
inline constexpr std::size_t owner_block_size = 107;
inline constexpr std::size_t path_field_size = 260;

struct day_part_entry {
  std::int8_t announcement_adjust = 0;  // percentage points
  std::int8_t music_adjust = 0;
  std::int8_t mic_adjust = 0;
  std::uint8_t weekdays = 0;
  std::int16_t start = 0;  // minutes since midnight, 0..1440
  std::int16_t end = 0;
  bool operator==(const day_part_entry&) const = default;
};

struct settings_block {
  std::uint8_t announcement_level = 65;
  std::int8_t sound_out_device = 0;  // wave-out index; < 0 = none
  std::uint8_t balanced = 0;
  std::int8_t music_device = -1;  // mixer line of the background music; < 0 = no fade
  std::uint8_t music_up_level = 50;
  std::uint8_t music_down_level = 15;
  std::int8_t mic_device = -1;  // mixer line of the page microphone; < 0 = page disabled
  std::uint8_t mic_level = 100;
  std::int8_t record_device = 0;       // wave-in index; < 0 = recording disabled
  std::int8_t audition_device = 0;     // wave-out index; < 0 = audition disabled
  std::uint8_t sequence_interval = 1;  // minutes; 0 = sequence play off
  std::uint8_t chimes = 3;             // 0 none, 1..3 = "chimes1.aud".."chimes3.aud"
  std::array<day_part_entry, max_day_parts> day_parts{};
  std::uint8_t day_part_count = 0;
  std::array<char, path_field_size> control_folder{};  // empty = remote control off
  bool operator==(const settings_block&) const = default;
};

inline constexpr char default_ftp_server[] = "ftp.vrxtolvane.example";

// The stored byte of the load method.
enum class load_method : std::uint8_t { disk = 0, file = 1, ftp = 2 };

struct load_options {
  load_method method = load_method::disk;
  std::uint8_t drive = 0;  // 0 = drive a:, 1 = drive b:
  std::array<char, path_field_size> file_path{};
  std::array<char, 128> ftp_server{};  // set by default_load_options()
  std::int32_t ftp_stamp = 0;
  std::int32_t update_interval = -1;  // 86400 when the daily check is on, -1 when off
  std::int32_t min_retry = 6000;
  std::int32_t last_success = 0;  // start-up time by default
  std::int32_t last_attempt = 0;
  bool operator==(const load_options&) const = default;
};

// The defaults at start-up (`startup_now` fills the two times).
load_options default_load_options(std::int32_t startup_now);

struct owner_block {
  std::array<std::uint8_t, owner_block_size> bytes{};
  std::int32_t customer_number() const;
  void set_customer_number(std::int32_t n);
  bool operator==(const owner_block&) const = default;
};

void encode_settings_block(const settings_block& s,
                           std::span<std::uint8_t, settings_block_size> out);
settings_block decode_settings_block(std::span<const std::uint8_t, settings_block_size> in);
void encode_load_options(const load_options& o, std::span<std::uint8_t, load_options_size> out);
load_options decode_load_options(std::span<const std::uint8_t, load_options_size> in);

}  // namespace zta
