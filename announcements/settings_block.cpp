#include "announcements/settings_block.hpp"

#include <cstring>

#include "base/byte_codec.hpp"

namespace zta {
namespace {

// Offsets in the settings block.
constexpr std::size_t day_parts_at = 12;
constexpr std::size_t day_part_size = 8;
constexpr std::size_t day_part_count_at = 204;
constexpr std::size_t control_folder_at = 205;

// Offsets in the load options block.
constexpr std::size_t file_path_at = 2;
constexpr std::size_t ftp_server_at = 262;
constexpr std::size_t ftp_stamp_at = 390;
constexpr std::size_t interval_at = 394;
constexpr std::size_t min_retry_at = 398;
constexpr std::size_t last_success_at = 402;
constexpr std::size_t last_attempt_at = 406;

}  // namespace

load_options default_load_options(std::int32_t startup_now) {
  load_options o;
  set_field_text(o.ftp_server, default_ftp_server);
  o.last_success = startup_now;
  o.last_attempt = startup_now;
  return o;
}

std::int32_t owner_block::customer_number() const {
  return load_le<std::int32_t>(bytes.data());
}

void owner_block::set_customer_number(std::int32_t n) {
  store_le(bytes.data(), n);
}

void encode_settings_block(const settings_block& s,
                           std::span<std::uint8_t, settings_block_size> out) {
  std::uint8_t* p = out.data();
  std::memset(p, 0, settings_block_size);
  p[0] = s.announcement_level;
  p[1] = static_cast<std::uint8_t>(s.sound_out_device);
  p[2] = s.balanced;
  p[3] = static_cast<std::uint8_t>(s.music_device);
  p[4] = s.music_up_level;
  p[5] = s.music_down_level;
  p[6] = static_cast<std::uint8_t>(s.mic_device);
  p[7] = s.mic_level;
  p[8] = static_cast<std::uint8_t>(s.record_device);
  p[9] = static_cast<std::uint8_t>(s.audition_device);
  p[10] = s.sequence_interval;
  p[11] = s.chimes;
  for (std::size_t i = 0; i < max_day_parts; ++i) {
    std::uint8_t* e = p + day_parts_at + day_part_size * i;
    const day_part_entry& d = s.day_parts[i];
    e[0] = static_cast<std::uint8_t>(d.announcement_adjust);
    e[1] = static_cast<std::uint8_t>(d.music_adjust);
    e[2] = static_cast<std::uint8_t>(d.mic_adjust);
    e[3] = d.weekdays;
    store_le(e + 4, d.start);
    store_le(e + 6, d.end);
  }
  p[day_part_count_at] = s.day_part_count;
  std::memcpy(p + control_folder_at, s.control_folder.data(), path_field_size);
}

settings_block decode_settings_block(std::span<const std::uint8_t, settings_block_size> in) {
  const std::uint8_t* p = in.data();
  settings_block s;
  s.announcement_level = p[0];
  s.sound_out_device = static_cast<std::int8_t>(p[1]);
  s.balanced = p[2];
  s.music_device = static_cast<std::int8_t>(p[3]);
  s.music_up_level = p[4];
  s.music_down_level = p[5];
  s.mic_device = static_cast<std::int8_t>(p[6]);
  s.mic_level = p[7];
  s.record_device = static_cast<std::int8_t>(p[8]);
  s.audition_device = static_cast<std::int8_t>(p[9]);
  s.sequence_interval = p[10];
  s.chimes = p[11];
  for (std::size_t i = 0; i < max_day_parts; ++i) {
    const std::uint8_t* e = p + day_parts_at + day_part_size * i;
    day_part_entry& d = s.day_parts[i];
    d.announcement_adjust = static_cast<std::int8_t>(e[0]);
    d.music_adjust = static_cast<std::int8_t>(e[1]);
    d.mic_adjust = static_cast<std::int8_t>(e[2]);
    d.weekdays = e[3];
    d.start = load_le<std::int16_t>(e + 4);
    d.end = load_le<std::int16_t>(e + 6);
  }
  s.day_part_count = p[day_part_count_at];
  std::memcpy(s.control_folder.data(), p + control_folder_at, path_field_size);
  return s;
}

void encode_load_options(const load_options& o, std::span<std::uint8_t, load_options_size> out) {
  std::uint8_t* p = out.data();
  std::memset(p, 0, load_options_size);
  p[0] = static_cast<std::uint8_t>(o.method);
  p[1] = o.drive;
  std::memcpy(p + file_path_at, o.file_path.data(), o.file_path.size());
  std::memcpy(p + ftp_server_at, o.ftp_server.data(), o.ftp_server.size());
  store_le(p + ftp_stamp_at, o.ftp_stamp);
  store_le(p + interval_at, o.update_interval);
  store_le(p + min_retry_at, o.min_retry);
  store_le(p + last_success_at, o.last_success);
  store_le(p + last_attempt_at, o.last_attempt);
}

load_options decode_load_options(std::span<const std::uint8_t, load_options_size> in) {
  const std::uint8_t* p = in.data();
  load_options o;
  o.method = static_cast<load_method>(p[0]);
  o.drive = p[1];
  std::memcpy(o.file_path.data(), p + file_path_at, o.file_path.size());
  std::memcpy(o.ftp_server.data(), p + ftp_server_at, o.ftp_server.size());
  o.ftp_stamp = load_le<std::int32_t>(p + ftp_stamp_at);
  o.update_interval = load_le<std::int32_t>(p + interval_at);
  o.min_retry = load_le<std::int32_t>(p + min_retry_at);
  o.last_success = load_le<std::int32_t>(p + last_success_at);
  o.last_attempt = load_le<std::int32_t>(p + last_attempt_at);
  return o;
}

}  // namespace zta
