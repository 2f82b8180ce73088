#pragma once
// The remote control folder shared with the companion program on another computer: this side
// publishes "annlist.dat" (the announcements that may be played by hand) and takes "*.ply"
// request files dropped there.
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "announcements/file_class.hpp"
#include "announcements/missed_log.hpp"
#include "announcements/station.hpp"

namespace zta {

inline constexpr char listing_file_name[] = "annlist.dat";
inline constexpr std::size_t listing_header_size = 8;
inline constexpr std::size_t listing_record_size = 292;
inline constexpr std::size_t request_size = 38;

// The stored kind of a request file; any other value is no request.
enum class request_kind : std::int32_t { none = 0, by_name = 1, sound_file = 2 };

// What poll_requests hands to the player.
struct remote_request {
  request_kind kind = request_kind::none;
  std::int8_t index = -1;  // by_name: the announcement to play
  std::string path;        // sound_file: full path inside the control folder
  std::string file;        // the request file's name, which its acknowledgement is named after
};

// The 38 bytes of a request file as read: its kind and its text (at most 31 bytes).
struct request_file {
  request_kind kind = request_kind::none;
  std::string text;
};

// Codecs of the two stored forms.
void encode_listing_record(const ann_blk& a, std::span<std::uint8_t, listing_record_size> out);
std::vector<std::uint8_t> encode_listing(const ann_blk* const* records, std::size_t count,
                                         std::int32_t now);
// The 38 bytes of a request; a text longer than 31 bytes is cut.
std::vector<std::uint8_t> encode_request(request_kind kind, std::string_view text);
// Reads what a (possibly short) request file holds: the kind counts as 0 below 4 bytes, the text
// ends at its first NUL, at byte 37, or where the bytes end.
request_file decode_request(std::span<const std::uint8_t> bytes);
// One record of a listing as the companion reads it.
struct listing_entry {
  int index = 0;  // position in the listing
  bool confirm = false;
  std::string name;    // up to its first NUL
  std::string script;  // up to its first NUL
};
struct decoded_listing {
  std::int32_t written_at = 0;  // on the `now` scale
  std::vector<listing_entry> entries;
  bool whole = true;  // false when bytes after the last whole record were left over
};
// The most a listing can hold (one record per announcement), so a reader can bound its read.
inline constexpr std::size_t listing_max_size =
    listing_header_size + listing_record_size * max_announcements;
// Decodes the whole records of a listing; false when even the header is missing.
bool decode_listing(std::span<const std::uint8_t> bytes, decoded_listing& out);
// A name that stays inside the folder: not empty, not "." or "..", no '/' or '\\'.
bool is_plain_file_name(std::string_view name);
// A plain name a sound file may have: not the listing, its temporary file, a request or an
// acknowledgement (case ignored), so a request cannot make the player play and then delete those.
bool is_sound_file_name(std::string_view name);

enum class folder_result {
  off,           // empty setting: remote control off
  on,            // listing written (or tried) and the folder cleared of old requests
  refused_data,  // the folder is the data folder or lies inside it: remote control off
};

class remote_folder {
 public:
  // Turns remote control off in the old folder (removing its requests, sound files and listing)
  // and on in `path`. A path that is, or lies inside, the data folder is refused, because the
  // hand-over clears "*.aud" files there; remote control then stays off and `why` says so.
  // The data folder is recognised by device and inode too, so a link or a bind mount to it is
  // refused as well. Leftover temporary listing files are removed.
  folder_result set_control_folder(station& st, std::string_view path, std::string* why = nullptr);
  // Rewrites the listing through a temporary file renamed over it, so a reader never sees it
  // half written. Nothing when remote control is off; silent on failure (the next poll tries
  // again).
  void write_listing(const station& st);
  // Takes at most one request file; true with `out` filled when it names something to play.
  // Only regular files are read, without blocking (a pipe, socket or device named "*.ply" is
  // dropped). A request shorter than a whole one, or one whose sound file, modified less than a
  // second before, may still be being written, is left for a later poll. A request that cannot
  // be deleted is served once, then skipped until it changes. A sound file must be a plain name
  // of a regular file in the folder itself, and not the listing or a request; any other name
  // drops the request, and the named file is left alone.
  // Without a request, rewrites the listing when the set of listed announcements changed, and
  // after a listing that could not be written (also the first one, with nothing listed).
  // A request whose file was taken but that names nothing to play is acknowledged here as
  // refused; once a day at most, acknowledgements this side wrote that are over a day old are
  // removed.
  bool poll_requests(const station& st, remote_request& out);
  // Writes the acknowledgement of a request poll_requests handed out, once the player tried it:
  // whether it plays, and what started or why nothing did, at `now`. Silent on failure.
  void acknowledge(const remote_request& r, bool played, std::string_view detail,
                   std::int32_t now) const;

  // Where a request refused here (nothing of that name, no sound file to play, no request at all)
  // is recorded as a remote start that did not sound; by default nowhere. What the player could
  // not play is the player's to record.
  missed_log missed;

  // The time the polls compare modification times with (the system clock; tests set their own).
  std::function<std::chrono::system_clock::time_point()> clock = std::chrono::system_clock::now;

  bool enabled() const { return !listing_path_.empty(); }
  const std::string& listing_path() const { return listing_path_; }
  const std::string& folder() const { return folder_; }
  std::int32_t listed_count() const { return listed_count_; }
  std::uint32_t listed_sum() const { return listed_sum_; }

 private:
  // A request file as seen: its name, size and modification time.
  struct file_mark {
    std::string name;
    std::int64_t size = 0;
    std::int64_t mtime_ns = 0;
    bool operator==(const file_mark&) const = default;
  };
  enum class taken { nothing, left, consumed, request };

  void clear_folder_files() const;
  taken take_request(const station& st, const std::string& name, remote_request& out);
  void refuse(const std::string& request_file, std::string_view what, std::string_view why,
              std::int32_t now) const;
  void sweep_acknowledgements(std::chrono::system_clock::time_point now);
  bool settling(const file_mark& m, std::chrono::system_clock::time_point now);
  static void remember(std::vector<file_mark>& marks, file_mark m);

  std::string listing_path_;  // empty = remote control off
  std::string folder_;        // with a trailing '/'
  std::int32_t listed_count_ = 0;
  std::uint32_t listed_sum_ = 0;
  bool listing_due_ = false;            // the last write failed: the next poll writes the listing
  std::vector<file_mark> undeletable_;  // served requests whose deletion failed
  std::vector<file_mark> future_;       // files dated ahead of the clock, seen once
  std::chrono::system_clock::time_point last_sweep_{};  // of old acknowledgements; epoch: never
};

// Message for a refused folder.
extern const char refused_data_folder_text[];

}  // namespace zta
