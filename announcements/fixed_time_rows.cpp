#include "announcements/fixed_time_rows.hpp"

#include <algorithm>

#include "announcements/date_time_text.hpp"
#include "announcements/validity.hpp"

namespace zta {

std::vector<fixed_time_row> fixed_time_rows(const std::vector<std::int32_t>& times,
                                            std::int32_t from, std::int32_t to) {
  std::vector<fixed_time_row> rows;
  rows.reserve(times.size());
  for (std::size_t i = 0; i < times.size(); ++i)
    rows.push_back({day_time_text(times[i]), i, in_window(from, to, times[i])});
  std::stable_sort(rows.begin(), rows.end(), [](const fixed_time_row& x, const fixed_time_row& y) {
    return x.text < y.text;
  });
  return rows;
}

void add_fixed_time(ann_blk& a, std::int32_t seconds) {
  a.fixed_times.push_back(seconds);
}

bool replace_fixed_time(ann_blk& a, std::size_t entry, std::int32_t seconds) {
  if (entry >= a.fixed_times.size()) return false;
  a.fixed_times[entry] = seconds;
  return true;
}

bool delete_fixed_time(ann_blk& a, std::size_t entry) {
  if (entry >= a.fixed_times.size()) return false;
  a.fixed_times.erase(a.fixed_times.begin() + static_cast<std::ptrdiff_t>(entry));
  if (a.fixed_times.empty()) a.fixed_times.shrink_to_fit();
  return true;
}

std::string fixed_time_note(std::int32_t from, std::int32_t to) {
  return "Outside the time of day " + day_time_text(from) + " to " + day_time_text(to) +
         ": this time never plays.";
}

std::string schedule_note(std::uint8_t weekdays, std::int32_t from, std::int32_t to) {
  std::string note;
  if ((weekdays & every_day) == 0) note = "No weekday is ticked: this announcement never plays.";
  if (from == to) {
    if (!note.empty()) note += '\n';
    note += "Time of Day From equals To: this announcement never plays.";
  }
  return note;
}

}  // namespace zta
