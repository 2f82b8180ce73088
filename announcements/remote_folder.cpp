#include "announcements/remote_folder.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "announcements/remote_ack.hpp"
#include "announcements/text_encoding.hpp"
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

bool starts_with_nocase(std::string_view name, std::string_view prefix) {
  return name.size() >= prefix.size() && ends_with_nocase(name.substr(0, prefix.size()), prefix);
}

// Whether `inner` is `outer` or lies below it: by the paths after resolving links as far as they
// exist, and by device and inode of the folder and each of its parents (a bind mount).
bool same_or_inside(const std::string& inner, const std::string& outer) {
  std::error_code ec;
  const fs::path a = fs::weakly_canonical(fs::absolute(inner, ec), ec);
  if (ec) return false;
  const fs::path b = fs::weakly_canonical(fs::absolute(outer, ec), ec);
  if (ec) return false;
  auto ai = a.begin();
  bool inside = true;
  for (auto bi = b.begin(); bi != b.end(); ++bi) {
    if (bi->empty()) continue;  // the empty element of a trailing separator
    if (ai == a.end() || *ai != *bi) {
      inside = false;
      break;
    }
    ++ai;
  }
  if (inside) return true;
  for (fs::path p = a;; p = p.parent_path()) {
    if (fs::equivalent(p, b, ec)) return true;
    if (p == p.parent_path()) return false;
  }
}

std::int64_t nanoseconds(const struct timespec& t) {
  return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

constexpr std::size_t max_marks = 256;

// Whether `path` is a regular file holding an acknowledgement's first line (ours, not a peer's).
bool is_our_acknowledgement(const std::string& path) {
  file_handle f = open_regular_for_read(path);
  if (!f) return false;
  char head[sizeof ack_first_line] = {};
  const std::size_t got = std::fread(head, 1, sizeof head, f.get());
  return got == sizeof head && std::memcmp(head, ack_first_line, sizeof head - 1) == 0 &&
         head[sizeof head - 1] == '\n';
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

std::vector<std::uint8_t> encode_request(request_kind kind, std::string_view text) {
  std::vector<std::uint8_t> out(request_size, 0);
  store_le<std::int32_t>(out.data(), static_cast<std::int32_t>(kind));
  text = text.substr(0, std::min<std::size_t>(text.find('\0'), request_size - 7));
  std::memcpy(out.data() + 6, text.data(), text.size());
  return out;
}

bool decode_listing(std::span<const std::uint8_t> bytes, decoded_listing& out) {
  out = decoded_listing{};
  if (bytes.size() < listing_header_size) return false;
  out.written_at = load_le<std::int32_t>(bytes.data() + 4);
  const std::size_t records = (bytes.size() - listing_header_size) / listing_record_size;
  out.whole = listing_header_size + records * listing_record_size == bytes.size();
  auto text = [](const std::uint8_t* p, std::size_t size) {
    const auto* c = reinterpret_cast<const char*>(p);
    std::string_view v(c, size);
    return std::string(v.substr(0, v.find('\0')));
  };
  for (std::size_t i = 0; i < records; ++i) {
    const std::uint8_t* r = bytes.data() + listing_header_size + i * listing_record_size;
    listing_entry e;
    e.index = static_cast<int>(i);
    e.confirm = load_le<std::int32_t>(r) != 0;
    e.name = text(r + 4, 32);
    e.script = text(r + 36, 256);
    out.entries.push_back(std::move(e));
  }
  return true;
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

bool is_sound_file_name(std::string_view name) {
  return is_plain_file_name(name) && !ends_with_nocase(name, listing_file_name) &&
         !starts_with_nocase(name, std::string(listing_file_name) + ".") &&
         !ends_with_nocase(name, ".ply") && !ends_with_nocase(name, ack_suffix);
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
  remove_replace_leftovers(listing_path_);
  write_listing(st);  // when it fails, the next poll writes it
  clear_folder_files();
  return folder_result::on;
}

void remote_folder::write_listing(const station& st) {
  if (!enabled()) return;
  auto records = listed_records(st);
  auto bytes = encode_listing(records.data(), records.size(), st.clock.now);
  // Counted only once written, so a poll tries again while the folder cannot be written.
  listing_due_ = !replace_file_atomically(listing_path_, bytes);
  if (listing_due_) return;
  listed_count_ = static_cast<std::int32_t>(records.size());
  listed_sum_ = identity_sum(records);
}

void remote_folder::remember(std::vector<file_mark>& marks, file_mark m) {
  if (std::find(marks.begin(), marks.end(), m) != marks.end()) return;
  if (marks.size() >= max_marks) marks.erase(marks.begin());
  marks.push_back(std::move(m));
}

bool remote_folder::settling(const file_mark& m, std::chrono::system_clock::time_point now) {
  const std::int64_t now_ns =
      std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
  const std::int64_t age = now_ns - m.mtime_ns;
  if (age >= 1'000'000'000) return false;
  if (age >= 0) return true;
  // Dated ahead of this clock (another computer's): settled once seen unchanged at a poll.
  if (std::find(future_.begin(), future_.end(), m) != future_.end()) return false;
  remember(future_, m);
  return true;
}

remote_folder::taken remote_folder::take_request(const station& st, const std::string& name,
                                                 remote_request& out) {
  const std::string path = folder_ + name;
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return taken::nothing;
  const file_mark mark{name, static_cast<std::int64_t>(info.st_size), nanoseconds(info.st_mtim)};
  if (std::find(undeletable_.begin(), undeletable_.end(), mark) != undeletable_.end())
    return taken::nothing;
  const auto now = clock ? clock() : std::chrono::system_clock::now();

  // Anything but a regular file (a pipe, a socket, a device, a link) holds no request.
  std::uint8_t bytes[request_size] = {};
  std::size_t got = 0;
  if (S_ISREG(info.st_mode)) {
    if (info.st_size < static_cast<off_t>(request_size) && settling(mark, now))
      return taken::left;  // perhaps still being written
    if (file_handle f = open_regular_for_read(path))
      got = std::fread(bytes, 1, sizeof bytes, f.get());
  }
  const request_file r = decode_request(std::span<const std::uint8_t>(bytes, got));
  std::string sound;
  std::string sound_refused;  // why a sound file request names nothing to play
  if (r.kind == request_kind::sound_file) {
    if (!is_sound_file_name(r.text)) {
      sound_refused = "\"" + r.text + "\" is no sound file name of the control folder";
    } else {
      sound = folder_ + r.text;
      struct stat s {};
      if (::lstat(sound.c_str(), &s) == 0) {
        if (!S_ISREG(s.st_mode)) {
          sound.clear();  // a link could lead anywhere; a folder or a pipe is no sound
          sound_refused = "\"" + r.text + "\" is not a regular file";
        } else if (settling({r.text, static_cast<std::int64_t>(s.st_size), nanoseconds(s.st_mtim)},
                            now)) {
          return taken::left;
        }
      }
    }
  }
  // A request that stays (a read-only share) is served this once only.
  if (!delete_file(path)) remember(undeletable_, mark);

  if (!S_ISREG(info.st_mode)) {
    refuse(name, name, "the request is not a regular file", st.clock.now);
    return taken::consumed;
  }
  if (r.kind == request_kind::by_name) {
    int match = -1;
    for (int i = 0; i < st.content.list.count(); ++i) {
      const ann_blk& a = st.content.list[i];
      if (is_current(a, st.clock) && equal_ignoring_case(a.name_text(), r.text)) match = i;
    }
    if (match < 0) {
      refuse(name, r.text, "no current announcement is named \"" + r.text + "\"", st.clock.now);
      return taken::consumed;
    }
    out.kind = request_kind::by_name;
    out.index = static_cast<std::int8_t>(match);
    out.path.clear();
    out.file = name;
    return taken::request;
  }
  if (r.kind == request_kind::sound_file) {
    if (sound.empty()) {
      refuse(name, r.text, sound_refused, st.clock.now);
      return taken::consumed;
    }
    out.kind = request_kind::sound_file;
    out.index = -1;
    out.path = sound;
    out.file = name;
    return taken::request;
  }
  refuse(name, name,
         "no request of a known kind (" + std::to_string(static_cast<std::int32_t>(r.kind)) + ")",
         st.clock.now);
  return taken::consumed;
}

void remote_folder::refuse(const std::string& request_file, std::string_view what,
                           std::string_view why, std::int32_t now) const {
  remote_request r;
  r.file = request_file;
  acknowledge(r, false, why, now);
  missed.record(now, what, trigger_text(play_trigger::remote), why);
}

void remote_folder::acknowledge(const remote_request& r, bool played, std::string_view detail,
                                std::int32_t now) const {
  if (!enabled() || !is_plain_file_name(r.file)) return;
  const std::string text = encode_ack(acknowledgement{
      .request = r.file, .played = played, .detail = std::string(detail), .moment = now});
  const std::string path = folder_ + ack_file_name(r.file);
  // Through a temporary file renamed into place, like the listing: a waiting companion never
  // reads half of it, and a link of that name is replaced, never followed.
  replace_file_atomically(
      path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                          text.size()));
}

void remote_folder::sweep_acknowledgements(std::chrono::system_clock::time_point now) {
  constexpr auto every = std::chrono::hours(1);
  if (last_sweep_.time_since_epoch().count() != 0 && now >= last_sweep_ &&
      now - last_sweep_ < every)
    return;
  last_sweep_ = now;
  const std::int64_t now_ns =
      std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
  std::error_code ec;
  std::vector<std::string> doomed;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!ends_with_nocase(name, ack_suffix)) continue;
    const std::string path = folder_ + name;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (now_ns - nanoseconds(info.st_mtim) < ack_lifetime_seconds * 1'000'000'000) continue;
    if (is_our_acknowledgement(path)) doomed.push_back(path);
  }
  for (const std::string& p : doomed) delete_file(p);
}

bool remote_folder::poll_requests(const station& st, remote_request& out) {
  if (!enabled()) return false;
  std::error_code ec;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!ends_with_nocase(name, ".ply")) continue;
    const taken t = take_request(st, name, out);
    if (t == taken::request) return true;
    if (t == taken::consumed) break;  // one request file per poll
  }

  sweep_acknowledgements(clock ? clock() : std::chrono::system_clock::now());
  auto records = listed_records(st);
  if (listing_due_ || static_cast<std::int32_t>(records.size()) != listed_count_ ||
      identity_sum(records) != listed_sum_) {
    write_listing(st);
  }
  return false;
}

}  // namespace zta
