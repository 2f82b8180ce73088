#include "announcements/remote_folder.hpp"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "announcements/validity.hpp"
#include "base/byte_codec.hpp"
#include "base/file_io.hpp"

namespace zta {

namespace fs = std::filesystem;

const char refused_data_folder_text[] =
    "The control folder cannot be the data folder or a folder inside it: remote control stays "
    "off, so that no announcement sound is deleted.";

namespace {

bool listed(const ann_blk& a, const cached_clock& clock) {
  return a.manual != 0 && is_current(a, clock);
}

std::vector<const ann_blk*> listed_records(const station& st) {
  std::vector<const ann_blk*> out;
  for (const ann_blk& a : st.content.list) {
    if (listed(a, st.clock)) out.push_back(&a);
  }
  return out;
}

std::uint32_t identity_sum(const std::vector<const ann_blk*>& records) {
  std::uint32_t sum = 0;
  for (const ann_blk* a : records) {
    sum += static_cast<std::uint32_t>(a->id_stamp) + static_cast<std::uint32_t>(a->id_serial);
  }
  return sum;
}

bool ends_with_nocase(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size()) return false;
  auto tail = name.substr(name.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) != suffix[i]) return false;
  }
  return true;
}

bool equal_nocase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Whether `inner` is `outer` or lies below it, after resolving both as far as they exist.
bool same_or_inside(const std::string& inner, const std::string& outer) {
  std::error_code ec;
  fs::path a = fs::weakly_canonical(fs::absolute(inner, ec), ec);
  if (ec) return false;
  fs::path b = fs::weakly_canonical(fs::absolute(outer, ec), ec);
  if (ec) return false;
  auto ai = a.begin();
  for (auto bi = b.begin(); bi != b.end(); ++bi) {
    if (bi->empty()) continue;  // the empty element of a trailing separator
    if (ai == a.end() || *ai != *bi) return false;
    ++ai;
  }
  return true;
}

}  // namespace

void encode_listing_record(const ann_blk& a, std::span<std::uint8_t, listing_record_size> out) {
  std::memset(out.data(), 0, out.size());
  store_le<std::int32_t>(out.data(), a.confirm != 0 ? 1 : 0);
  std::string_view name = a.name_text();
  std::memcpy(out.data() + 4, name.data(), std::min<std::size_t>(name.size(), 31));
  std::string_view script = a.script;
  script = script.substr(0, std::min<std::size_t>(script.find('\0'), 255));
  std::memcpy(out.data() + 36, script.data(), script.size());
}

std::vector<std::uint8_t> encode_listing(const ann_blk* const* records, std::size_t count,
                                         std::int32_t now) {
  std::vector<std::uint8_t> out(listing_header_size + listing_record_size * count, 0);
  store_le<std::int32_t>(out.data(), 0);
  store_le<std::int32_t>(out.data() + 4, now);
  for (std::size_t i = 0; i < count; ++i) {
    encode_listing_record(
        *records[i],
        std::span<std::uint8_t, listing_record_size>(
            out.data() + listing_header_size + i * listing_record_size, listing_record_size));
  }
  return out;
}

request_file decode_request(std::span<const std::uint8_t> bytes) {
  request_file r;
  if (bytes.size() >= 4) r.kind = static_cast<request_kind>(load_le<std::int32_t>(bytes.data()));
  // The text starts at offset 6; byte 37 counts as its terminator.
  for (std::size_t i = 6; i < bytes.size() && i < request_size - 1; ++i) {
    if (bytes[i] == 0) break;
    r.text.push_back(static_cast<char>(bytes[i]));
  }
  return r;
}

bool is_plain_file_name(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("/\\") == std::string_view::npos;
}

void remote_folder::clear_folder_files() const {
  std::error_code ec;
  std::vector<fs::path> doomed;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (ends_with_nocase(name, ".ply") || ends_with_nocase(name, ".aud")) {
      if (!it->is_directory(ec)) doomed.push_back(it->path());
    }
  }
  for (const auto& p : doomed) delete_file(p.string());
}

folder_result remote_folder::set_control_folder(station& st, std::string_view path,
                                                std::string* why) {
  if (enabled()) {
    clear_folder_files();
    delete_file(listing_path_);
  }
  listing_path_.clear();
  folder_.clear();
  listed_count_ = 0;
  listed_sum_ = 0;

  std::string p(path.substr(0, path.find('\0')));
  while (!p.empty() && (p.back() == ' ' || p.back() == '/' || p.back() == '\\')) p.pop_back();
  if (p.empty()) return folder_result::off;
  // A relative folder is taken from the data folder, which the program's folder once was.
  if (p.front() != '/') p = st.data_folder + p;
  if (same_or_inside(p, st.data_folder)) {
    if (why != nullptr) *why = refused_data_folder_text;
    return folder_result::refused_data;
  }
  folder_ = p + "/";
  listing_path_ = folder_ + listing_file_name;
  write_listing(st);
  clear_folder_files();
  return folder_result::on;
}

void remote_folder::write_listing(const station& st) {
  if (!enabled()) return;
  auto records = listed_records(st);
  auto bytes = encode_listing(records.data(), records.size(), st.clock.now);
  // Counted only once written, so a poll tries again while the folder cannot be written.
  if (!replace_file_atomically(listing_path_, bytes)) return;
  listed_count_ = static_cast<std::int32_t>(records.size());
  listed_sum_ = identity_sum(records);
}

bool remote_folder::poll_requests(const station& st, remote_request& out) {
  if (!enabled()) return false;
  std::error_code ec;
  fs::path request_path;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    if (ends_with_nocase(it->path().filename().string(), ".ply") && !it->is_directory(ec)) {
      request_path = it->path();
      break;
    }
  }

  bool took = false;
  if (!request_path.empty()) {
    std::uint8_t bytes[request_size] = {};
    std::size_t got = 0;
    if (file_handle f = open_for_read(request_path.string())) {
      got = std::fread(bytes, 1, sizeof bytes, f.get());
    }
    delete_file(request_path.string());
    request_file r = decode_request(std::span<const std::uint8_t>(bytes, got));
    if (r.kind == request_kind::by_name) {
      int match = -1;
      for (int i = 0; i < st.content.list.count(); ++i) {
        const ann_blk& a = st.content.list[i];
        if (is_current(a, st.clock) && equal_nocase(a.name_text(), r.text)) match = i;
      }
      if (match >= 0) {
        out.kind = request_kind::by_name;
        out.index = static_cast<std::int8_t>(match);
        out.path.clear();
        took = true;
      }
    } else if (r.kind == request_kind::sound_file && is_plain_file_name(r.text)) {
      // Only a plain file of this folder: anything else would let the network delete any file.
      // A link could lead the player to any file it can read; a folder is no sound.
      std::string target = folder_ + r.text;
      auto kind = fs::symlink_status(target, ec).type();
      if (kind != fs::file_type::symlink && kind != fs::file_type::directory) {
        out.kind = request_kind::sound_file;
        out.index = -1;
        out.path = target;
        took = true;
      }
    }
  }
  if (took) return true;

  auto records = listed_records(st);
  if (static_cast<std::int32_t>(records.size()) != listed_count_ ||
      identity_sum(records) != listed_sum_) {
    write_listing(st);
  }
  return false;
}

}  // namespace zta
