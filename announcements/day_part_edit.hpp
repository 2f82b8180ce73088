#pragma once
// Editing the day-part table the way the Day-Part Volume dialog does: the texts of its rows and
// time fields, reading a typed time, adding and removing entries, and stepping adjustments.
// The table is changed in place; there is no undo.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "announcements/settings_block.hpp"

namespace zta {

// "08:00 - 12:30 0% -10% 0%": from, to, then the announcement, music and microphone adjustments.
std::string day_part_row_text(const day_part_entry& e);
// "07:30" for 450 minutes.
std::string day_part_time_text(int minutes);
// A typed From or To: the number at the start of its first 18 characters as hours, plus the
// number after the first ':' or '.' as minutes ("7:30" and "7.30" give 450, "7" gives 420, text
// without a number gives 0). Not range-checked; kept as a signed 16-bit number.
std::int16_t parse_day_part_time(std::string_view text);

// A stored count above 24 becomes 24.
void clamp_day_part_count(settings_block& s);
// Appends 00:00 - 24:00, every day, no adjustment; its index, or -1 when 24 are held already.
int add_day_part(settings_block& s);
// Removes entry `index` (later ones move up). Returns the entry to select afterwards: the one now
// at the same place, or the new last one, or -1 when the table is empty. An index outside the
// table changes nothing and gives -1.
int remove_day_part(settings_block& s, int index);

enum class day_part_step {
  master_up,
  master_down,
  announcements_up,
  announcements_down,
  music_up,
  music_down,
  mic_up,
  mic_down,
};
// One press: the master steps change all three adjustments, the others their own, by 1; an
// adjustment already at -128 or 127 stays there.
void step_day_part(day_part_entry& e, day_part_step step);

// The weekday mask bits of the seven boxes "Mon" .. "Sat", "Sun".
inline constexpr std::array<std::uint8_t, 7> day_part_box_bits = {0x02, 0x04, 0x08, 0x10,
                                                                  0x20, 0x40, 0x01};

}  // namespace zta
