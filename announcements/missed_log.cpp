#include "announcements/missed_log.hpp"

#include <cstdio>

#include "announcements/calendar.hpp"
#include "base/file_io.hpp"
#include "base/regular_text.hpp"

namespace zta {

const char missed_header[] =
    "ZTA Announcement Player Missed Starts\r\n"
    "yy/mm/dd - hh:mm:ss Announcement Name\tTrigger\tReason\r\n"
    "----------------------------------------------------\r\n";

namespace {

constexpr std::string_view reasons[] = {
    "no sound-out device",
    "device failed to open",
    "clip missing or unreadable",
    "skipped: another announcement still playing past the 300-second catch-up",
    "cut off by a page",
    "cut off by a later play",
    "stopped by the user",
    "confirm box declined",
    "device lost during the play",
    "cut off by the program's end",
};

int two_digit_year(int year) {
  return ((year % 100) + 100) % 100;
}

// A field never carries the separators of the line.
void append_field(std::string& line, std::string_view text) {
  for (char c : text) line += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
}

bool digits(std::string_view s, std::size_t at, int& value) {
  if (at + 2 > s.size()) return false;
  char a = s[at];
  char b = s[at + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') return false;
  value = (a - '0') * 10 + (b - '0');
  return true;
}

}  // namespace

std::string trigger_text(play_trigger t, int every_minutes) {
  switch (t) {
    case play_trigger::fixed_time:
      return "fixed time";
    case play_trigger::every_minutes:
      return "every " + std::to_string(every_minutes) + " minutes";
    case play_trigger::sequence:
      return "sequence";
    case play_trigger::remote:
      return "remote";
    case play_trigger::manual:
      return "manual";
  }
  return "manual";
}

std::string_view reason_text(missed_reason r) {
  const auto i = static_cast<std::size_t>(r);
  return i < std::size(reasons) ? reasons[i] : std::string_view("unknown");
}

play_trigger schedule_trigger(std::int16_t autoplay) {
  return autoplay > 0 ? play_trigger::every_minutes : play_trigger::fixed_time;
}

std::string missed_file_name(std::int32_t moment) {
  const calendar_fields f = break_moment(moment);
  char name[32];
  std::snprintf(name, sizeof name, "missed%.2d%.2d.txt", f.month, two_digit_year(f.year));
  return name;
}

std::string missed_line(std::int32_t when, std::string_view name, std::string_view trigger,
                        std::string_view reason) {
  const calendar_fields f = break_moment(when);
  char head[48];
  std::snprintf(head, sizeof head, "%.2d/%.2d/%.2d - %.2d:%.2d:%.2d\t", two_digit_year(f.year),
                f.month, f.day, f.hour, f.minute, f.second);
  std::string line = head;
  append_field(line, name);
  line += '\t';
  append_field(line, trigger);
  line += '\t';
  append_field(line, reason);
  line += "\r\n";
  return line;
}

std::optional<missed_entry> parse_missed_line(std::string_view line, std::int32_t near) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  // "yy/mm/dd - hh:mm:ss" then a tab.
  calendar_fields f;
  int yy = 0;
  if (line.size() < 20 || !digits(line, 0, yy) || line[2] != '/' || !digits(line, 3, f.month) ||
      line[5] != '/' || !digits(line, 6, f.day) || line.substr(8, 3) != " - " ||
      !digits(line, 11, f.hour) || line[13] != ':' || !digits(line, 14, f.minute) ||
      line[16] != ':' || !digits(line, 17, f.second) || line[19] != '\t') {
    return std::nullopt;
  }
  if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > 31 || f.hour > 23 || f.minute > 59 ||
      f.second > 59) {
    return std::nullopt;
  }
  // The century nearest to `near`.
  const int near_year = break_moment(near).year;
  f.year = near_year - two_digit_year(near_year) + yy;
  if (f.year - near_year > 50) f.year -= 100;
  if (near_year - f.year > 50) f.year += 100;
  auto when = make_moment(f);
  if (!when) return std::nullopt;

  std::string_view rest = line.substr(20);
  std::size_t t1 = rest.find('\t');
  if (t1 == std::string_view::npos) return std::nullopt;
  std::size_t t2 = rest.find('\t', t1 + 1);
  if (t2 == std::string_view::npos) return std::nullopt;
  missed_entry e;
  e.when = *when;
  e.name = std::string(rest.substr(0, t1));
  e.trigger = std::string(rest.substr(t1 + 1, t2 - t1 - 1));
  e.reason = std::string(rest.substr(t2 + 1));
  return e;
}

std::vector<missed_entry> read_missed_file(const std::string& path, std::int32_t near,
                                           std::size_t max_bytes) {
  std::vector<missed_entry> out;
  const std::string text = read_regular_text(path, max_bytes);
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) break;  // a line still being written
    if (auto e = parse_missed_line(std::string_view(text).substr(at, end + 1 - at), near))
      out.push_back(std::move(*e));
    at = end + 1;
  }
  return out;
}

void missed_log::record(std::int32_t when, std::string_view name, play_trigger trigger,
                        missed_reason reason, int every_minutes) const {
  record(when, name, trigger_text(trigger, every_minutes), reason_text(reason));
}

void missed_log::record(std::int32_t when, std::string_view name, std::string_view trigger,
                        std::string_view reason) const {
  if (sink_) {
    sink_(missed_entry{when, std::string(name), std::string(trigger), std::string(reason)});
    return;
  }
  if (folder_.empty()) return;
  const std::string path = folder_ + missed_file_name(when);
  // Opened and closed for every line, as the play log is; the line goes out in one write.
  file_handle f(std::fopen(path.c_str(), "r+b"));
  std::string text;
  if (f) {
    std::fseek(f.get(), 0, SEEK_END);
  } else {
    f = create_for_write(path);
    if (!f) return;
    text = missed_header;
  }
  text += missed_line(when, name, trigger, reason);
  std::fwrite(text.data(), 1, text.size(), f.get());
}

}  // namespace zta
