#include "announcements/owner_file.hpp"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "announcements/settings_store.hpp"
#include "announcements/station.hpp"
#include "announcements/text_encoding.hpp"
#include "base/file_io.hpp"

namespace zta {

namespace {

enum class file_kind { missing, regular, other };

// Only a regular file is read: a pipe or a device there would block or never end.
file_kind kind_of(const std::string& path) {
  std::error_code ec;
  const auto s = std::filesystem::status(path, ec);
  if (s.type() == std::filesystem::file_type::not_found) return file_kind::missing;
  return !ec && std::filesystem::is_regular_file(s) ? file_kind::regular : file_kind::other;
}

}  // namespace

std::string owner_text(const owner_block& o) {
  const auto* text = reinterpret_cast<const char*>(o.bytes.data()) + 4;
  const std::size_t room = owner_block_size - 4;
  return {text, static_cast<std::size_t>(std::find(text, text + room, '\0') - text)};
}

void set_owner_text(owner_block& o, std::string_view utf8) {
  const std::string text = cut_at_character(utf8, owner_text_limit);
  std::fill(o.bytes.begin() + 4, o.bytes.end(), std::uint8_t{0});
  std::memcpy(o.bytes.data() + 4, text.data(), text.size());
}

std::optional<std::int32_t> parse_customer_number(std::string_view text) {
  auto space = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::int64_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n > 2147483647) return std::nullopt;
  return static_cast<std::int32_t>(n);
}

bool read_owner_block(const std::string& data_folder, owner_block& out) {
  const std::string path = data_folder + settings_file_name;
  const file_kind kind = kind_of(path);
  if (kind == file_kind::missing) {
    out = owner_block{};
    return true;
  }
  std::vector<std::uint8_t> bytes;
  if (kind != file_kind::regular || !read_whole_file(path, bytes) ||
      bytes.size() < owner_block_offset + owner_block_size)
    return false;
  std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(owner_block_offset), owner_block_size,
              out.bytes.begin());
  return true;
}

owner_write_result write_owner_block(const std::string& data_folder, const owner_block& o,
                                     std::int32_t now) {
  const std::string path = data_folder + settings_file_name;
  std::vector<std::uint8_t> bytes;
  const file_kind kind = kind_of(path);
  if (kind == file_kind::other) return owner_write_result::failed;
  if (kind == file_kind::regular) {
    if (!read_whole_file(path, bytes)) return owner_write_result::failed;
    if (bytes.size() < owner_block_offset + owner_block_size)
      return owner_write_result::damaged_file;
  } else {
    station fresh(data_folder, now);
    bytes = encode_settings_file(fresh);
  }
  std::copy(o.bytes.begin(), o.bytes.end(),
            bytes.begin() + static_cast<std::ptrdiff_t>(owner_block_offset));
  return replace_file_atomically(path, bytes) ? owner_write_result::written
                                              : owner_write_result::failed;
}

}  // namespace zta
