#pragma once
// The bytes of an announcement package: the 22-byte header, the content (announcement list
// section, notice section) and its records. Everything read from a package is checked against
// the bytes actually there.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "announcements/ann_blk.hpp"
#include "base/byte_codec.hpp"

namespace zta {

inline constexpr std::size_t package_header_size = 22;
inline constexpr std::int32_t max_content_length = 32768;
inline constexpr std::int32_t max_addressee_list = 4096;
inline constexpr std::uint16_t content_checksum_seed = 1066;
inline constexpr std::int32_t section_list = 4;
inline constexpr std::int32_t section_notice = 8;

struct package_header {
  std::int32_t version = 1;
  std::int32_t content_length = 0;
  std::int32_t addressee = 0;  // -4096..-1: that many customer numbers follow the header
  std::int32_t unused = 0;
  std::int32_t flags = 0;
  std::uint16_t checksum = content_checksum_seed;
  bool operator==(const package_header&) const = default;
};

package_header decode_package_header(std::span<const std::uint8_t, package_header_size> in);
void encode_package_header(const package_header& h,
                           std::span<std::uint8_t, package_header_size> out);
std::uint16_t content_checksum(std::span<const std::uint8_t> content);
// How many customer numbers follow the header (0 unless the addressee is -4096..-1).
std::int32_t addressee_list_count(std::int32_t addressee);

struct package_notice {
  std::int32_t next_show = moment_never;  // never alone clears the pending notice
  std::int32_t repeat = 0;
  std::string text;
  bool operator==(const package_notice&) const = default;
};

struct package_content {
  bool has_list = false;
  std::int8_t list_count = 0;  // negative: leave the current list untouched
  std::vector<ann_blk> records;
  bool has_notice = false;
  package_notice notice;
};

// One record of the list section; false when it runs past the end of the content.
bool parse_package_record(byte_reader& in, std::int32_t version, ann_blk& out);
// The sections the flags announce, in order; false when any of them runs past the end.
bool parse_package_content(std::span<const std::uint8_t> content, std::int32_t version,
                           std::int32_t flags, package_content& out);

// What a package writer may say about a record: absent optional fields take the defaults.
struct package_record_spec {
  std::string name;
  std::int32_t id_stamp = 0;
  std::int32_t id_serial = 0;
  std::optional<std::int32_t> commence;
  std::optional<std::int32_t> expiry;
  std::optional<std::int32_t> day_from;  // day_from and day_to are written together
  std::optional<std::int32_t> day_to;
  std::optional<std::uint8_t> weekdays;
  std::vector<std::int32_t> fixed_times;  // at most 255
  std::optional<std::int16_t> autoplay;
  std::optional<std::string> script;  // at most 65535 bytes
  bool chimes = true;
  bool confirm = false;  // version 1 only
  bool manual = true;    // version 1 only
};

void write_package_record(byte_writer& out, const package_record_spec& r, std::int32_t version);
void write_package_notice(byte_writer& out, const package_notice& n);

}  // namespace zta
