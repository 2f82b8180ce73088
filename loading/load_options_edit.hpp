#pragma once
// What the Load Announcements dialog does with the load options: which controls each method
// enables, how its fields are stored (by "&Load Now" and by "Cancel" alike), and where "Locate
// File" starts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "announcements/settings_block.hpp"

namespace zta {

inline constexpr std::int32_t daily_update_interval = 86400;
// A typed path or server name is read up to this many bytes (cut at a character boundary).
inline constexpr std::size_t load_field_limit = 126;
// A located file is stored up to this many bytes.
inline constexpr std::size_t located_path_limit = path_field_size - 1;

// The controls a method enables; the others are disabled.
struct load_method_controls {
  bool drive = false;   // the drive list
  bool path = false;    // the path field and "&Browse"
  bool server = false;  // the server field
  bool daily = false;   // "Automatic Daily Login and Update Check"
  bool operator==(const load_method_controls&) const = default;
};
load_method_controls enabled_controls(load_method method);

// The daily check box when the dialog opens: ticked when the interval is positive.
bool daily_check_ticked(const load_options& o);

// The dialog's state as it is stored.
struct load_dialog_state {
  load_method method = load_method::disk;
  int drive = 0;                      // list selection; -1 keeps the stored drive
  std::optional<std::string> path;    // set only when the user changed the field (UTF-8)
  std::optional<std::string> server;  // likewise
  bool daily = false;
};
// Method and drive; a changed field, up to 126 bytes; with the FTP method and the box ticked the
// interval becomes a day and both the last-success and last-attempt times `now`, otherwise the
// interval becomes -1 (off).
void store_load_dialog(load_options& o, const load_dialog_state& state, std::int32_t now);

// A file picked in "Locate File" becomes the stored path (up to 259 bytes).
void store_located_path(load_options& o, std::string_view path);

// Where "Locate File" opens: the folder of `current` (or `current_folder` when it names none)
// and the file name to preset.
struct locate_start {
  std::string folder;
  std::string file_name;
  bool operator==(const locate_start&) const = default;
};
locate_start locate_file_start(std::string_view current, std::string_view current_folder);

}  // namespace zta
