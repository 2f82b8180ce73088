#include "announcements/play_history.hpp"

#include <algorithm>
#include <cstdio>

#include "announcements/calendar.hpp"
#include "announcements/play_log.hpp"
#include "base/regular_text.hpp"

namespace zta {

namespace {

bool two_digits(std::string_view s, std::size_t at, int& value) {
  if (at + 2 > s.size() || s[at] < '0' || s[at] > '9' || s[at + 1] < '0' || s[at + 1] > '9')
    return false;
  value = (s[at] - '0') * 10 + (s[at + 1] - '0');
  return true;
}

// Whole lines of a file (a last line without its end is still being written and left out).
std::vector<std::string> read_lines(const std::string& path, std::size_t max_bytes) {
  std::vector<std::string> lines;
  const std::string text = read_regular_text(path, max_bytes);
  std::size_t at = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', at)) {
    lines.push_back(text.substr(at, end + 1 - at));
    at = end + 1;
  }
  return lines;
}

}  // namespace

std::optional<logged_play> parse_log_line(std::string_view line, std::int32_t near) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  calendar_fields f;
  int yy = 0;
  if (line.size() < 17 || !two_digits(line, 0, yy) || line[2] != '/' ||
      !two_digits(line, 3, f.month) || line[5] != '/' || !two_digits(line, 6, f.day) ||
      line.substr(8, 3) != " - " || !two_digits(line, 11, f.hour) || line[13] != ':' ||
      !two_digits(line, 14, f.minute) || line[16] != ' ') {
    return std::nullopt;
  }
  if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > 31 || f.hour > 23 || f.minute > 59)
    return std::nullopt;
  const int near_year = break_moment(near).year;
  f.year = near_year - ((near_year % 100) + 100) % 100 + yy;
  if (f.year - near_year > 50) f.year -= 100;
  if (near_year - f.year > 50) f.year += 100;
  auto when = make_moment(f);
  if (!when) return std::nullopt;
  return logged_play{*when, std::string(line.substr(17))};
}

std::vector<logged_play> read_log_file(const std::string& path, std::int32_t near,
                                       std::size_t max_bytes) {
  std::vector<logged_play> out;
  for (const std::string& line : read_lines(path, max_bytes)) {
    if (auto p = parse_log_line(line, near)) out.push_back(std::move(*p));
  }
  return out;
}

std::vector<history_entry> month_history(const std::string& data_folder, std::int32_t moment) {
  std::vector<history_entry> rows;
  for (logged_play& p : read_log_file(data_folder + log_file_name(moment), moment))
    rows.push_back({p.when, true, std::move(p.name), {}, {}});
  for (missed_entry& e : read_missed_file(data_folder + missed_file_name(moment), moment)) {
    rows.push_back({e.when, false, std::move(e.name), std::move(e.trigger), std::move(e.reason)});
  }
  // Newest first; the file order stays within the same moment (reversed with the rest).
  std::stable_sort(rows.begin(), rows.end(), [](const history_entry& a, const history_entry& b) {
    return a.when < b.when || (a.when == b.when && a.played && !b.played);
  });
  std::reverse(rows.begin(), rows.end());
  return rows;
}

}  // namespace zta
