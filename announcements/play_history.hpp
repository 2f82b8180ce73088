#pragma once
// Reading back the month log and the missed file: for the "Last plays" view and `zta report`.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "announcements/missed_log.hpp"

namespace zta {

// A line of the month log, "yy/mm/dd - hh:mm Name": the moment of its minute (seconds 0), the
// century taken from `near` as for the missed file.
struct logged_play {
  std::int32_t when = 0;
  std::string name;
};
std::optional<logged_play> parse_log_line(std::string_view line, std::int32_t near);
// Every play of one log file, in file order (the header and foreign lines are skipped); empty
// when it cannot be read. At most `max_bytes` are read.
std::vector<logged_play> read_log_file(const std::string& path, std::int32_t near,
                                       std::size_t max_bytes = 16u << 20);

// One row of the history of a month: a logged play or a missed-file event.
struct history_entry {
  std::int32_t when = 0;
  bool played = false;  // from the log (minute precision); else from the missed file
  std::string name;     // empty for a note
  std::string trigger;  // missed file only
  std::string reason;   // missed file only
};
// The log and the missed file of the month of `moment` in `data_folder`, newest first; at the
// same minute a missed event comes before the play logged at that minute's start.
std::vector<history_entry> month_history(const std::string& data_folder, std::int32_t moment);

}  // namespace zta
