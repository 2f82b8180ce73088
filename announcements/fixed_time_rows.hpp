#pragma once
// The fixed times of one announcement as the Announcement Control dialog lists them: sorted by
// their text while the record keeps the order of entry, so each row remembers the entry it was
// made from. Also the notes that say when a schedule can never start the announcement (nothing is
// refused or changed because of them).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "announcements/ann_blk.hpp"

namespace zta {

struct fixed_time_row {
  std::string text;   // "%.2i:%.2i:%.2i"
  std::size_t entry;  // position in fixed_times
  bool plays;         // false: outside the daily window, so this time never starts it
};

// Sorted by text; equal texts in the order entered. `from` and `to` are the daily window.
std::vector<fixed_time_row> fixed_time_rows(const std::vector<std::int32_t>& times,
                                            std::int32_t from, std::int32_t to);

void add_fixed_time(ann_blk& a, std::int32_t seconds);
// False when `entry` is not in the list.
bool replace_fixed_time(ann_blk& a, std::size_t entry, std::int32_t seconds);
bool delete_fixed_time(ann_blk& a, std::size_t entry);

// Why a fixed time outside the window never plays, e.g. "Outside the time of day 10:00:00 to
// 16:00:00: this time never plays."
std::string fixed_time_note(std::int32_t from, std::int32_t to);
// Why the announcement can never be current, or "" when it can: no weekday ticked, or an empty
// daily window (From equal to To).
std::string schedule_note(std::uint8_t weekdays, std::int32_t from, std::int32_t to);

}  // namespace zta
