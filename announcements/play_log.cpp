#include "announcements/play_log.hpp"

#include <cstdio>

#include "announcements/calendar.hpp"
#include "base/file_io.hpp"

namespace zta {

const char log_header[] =
    "ZTA Announcement Player Log\r\n"
    "yy/mm/dd - hh:mm Announcement Name\r\n"
    "----------------------------------------------------\r\n";

std::string log_file_name(std::int32_t moment) {
  const calendar_fields f = break_moment(moment);
  char name[32];
  std::snprintf(name, sizeof name, "log%.2d%.2d.txt", f.month, ((f.year % 100) + 100) % 100);
  return name;
}

std::string log_line(std::int32_t moment, std::string_view name) {
  const calendar_fields f = break_moment(moment);
  char head[48];
  std::snprintf(head, sizeof head, "%.2d/%.2d/%.2d - %.2d:%.2d ", ((f.year % 100) + 100) % 100,
                f.month, f.day, f.hour, f.minute);
  std::string line = head;
  line.append(name);
  line += "\r\n";
  return line;
}

void log_play(const station& st, const ann_blk& a) {
  const std::string path = st.data_folder + log_file_name(st.clock.now);
  // Opened and closed for every line, so no file stays open between plays.
  file_handle f(std::fopen(path.c_str(), "r+b"));
  if (f) {
    std::fseek(f.get(), 0, SEEK_END);
  } else {
    f = create_for_write(path);
    if (!f) return;
    std::fwrite(log_header, 1, sizeof log_header - 1, f.get());
  }
  const std::string line = log_line(st.clock.now, a.name_text());
  std::fwrite(line.data(), 1, line.size(), f.get());
}

}  // namespace zta
