#include <gtest/gtest.h>

#include <string>

#include "announcements/day_part_edit.hpp"

namespace zta {
namespace {

struct row_case {
  day_part_entry entry;
  const char* text;
};

TEST(DayPartRows, TextShowsTheWindowAndTheSignedAdjustments) {
  const row_case cases[] = {
      {{0, 0, 0, 127, 0, 1440}, "00:00 - 24:00 0% 0% 0%"},
      {{0, -10, 0, 127, 480, 750}, "08:00 - 12:30 0% -10% 0%"},
      {{1, -2, 1, 127, 1320, 360}, "22:00 - 06:00 1% -2% 1%"},
      {{127, -128, 5, 0, 5, 59}, "00:05 - 00:59 127% -128% 5%"},
      {{0, 0, 0, 127, -30, 32767}, "00:-30 - 546:07 0% 0% 0%"},  // unchecked typed values
  };
  for (const row_case& c : cases) EXPECT_EQ(day_part_row_text(c.entry), c.text);
  EXPECT_EQ(day_part_time_text(450), "07:30");
  EXPECT_EQ(day_part_time_text(1440), "24:00");
}

struct time_case {
  const char* text;
  int minutes;
};

TEST(DayPartRows, TypedTimesReadHoursAndTheMinutesAfterTheFirstSeparator) {
  const time_case cases[] = {
      {"7:30", 450},
      {"7.30", 450},
      {"7", 420},
      {"", 0},
      {"abc", 0},
      {"22:00", 1320},
      {"06:00", 360},
      {"1:2:3", 62},
      {" 8:5", 485},
      {"-1:30", -30},
      {":45", 45},
      {"24:00", 1440},
      {"12:", 720},
      {"8:xx", 480},
      {"0000000000000000007:30", 0},  // 18 characters read
      {"546:08", -32768},             // kept as 16 bits, as the field stores it
  };
  for (const time_case& c : cases) EXPECT_EQ(parse_day_part_time(c.text), c.minutes) << c.text;
}

TEST(DayPartRows, ShownTimesReadBackUnchanged) {
  for (int minutes : {0, 1, 59, 60, 450, 1439, 1440, -30, -600, 32767, -32768}) {
    EXPECT_EQ(parse_day_part_time(day_part_time_text(minutes)), minutes) << minutes;
  }
}

TEST(DayPartTable, AddAppendsTheWholeDayEveryDayUpToTwentyFour) {
  settings_block s;
  for (int i = 0; i < max_day_parts; ++i) ASSERT_EQ(add_day_part(s), i);
  EXPECT_EQ(s.day_part_count, 24);
  EXPECT_EQ(s.day_parts[23], (day_part_entry{0, 0, 0, 127, 0, 1440}));
  const settings_block full = s;
  EXPECT_EQ(add_day_part(s), -1);  // the 25th does nothing
  EXPECT_EQ(s, full);
}

TEST(DayPartTable, AStoredCountAboveTwentyFourIsCut) {
  settings_block s;
  s.day_part_count = 30;
  clamp_day_part_count(s);
  EXPECT_EQ(s.day_part_count, 24);
  s.day_part_count = 200;
  EXPECT_EQ(add_day_part(s), -1);
  EXPECT_EQ(s.day_part_count, 24);
}

struct remove_case {
  int count;
  int remove;
  int selected_after;
  int count_after;
};

TEST(DayPartTable, RemoveMovesLaterEntriesUpAndSelectsTheSamePlaceOrTheNewLast) {
  const remove_case cases[] = {
      {3, 0, 0, 2},   // the next one moves into its place
      {3, 1, 1, 2},   //
      {3, 2, 1, 2},   // the last: the new last
      {1, 0, -1, 0},  // the only: nothing left
      {3, 3, -1, 3},  // no such row: nothing happens
      {3, -1, -1, 3}, {0, 0, -1, 0},
  };
  for (const remove_case& c : cases) {
    settings_block s;
    for (int i = 0; i < c.count; ++i) {
      add_day_part(s);
      s.day_parts[static_cast<std::size_t>(i)].start = static_cast<std::int16_t>(i);
    }
    EXPECT_EQ(remove_day_part(s, c.remove), c.selected_after) << c.count << " " << c.remove;
    ASSERT_EQ(s.day_part_count, c.count_after);
    // The survivors keep their order.
    int expect = 0;
    for (int i = 0; i < s.day_part_count; ++i, ++expect) {
      if (expect == c.remove) ++expect;
      EXPECT_EQ(s.day_parts[static_cast<std::size_t>(i)].start, expect);
    }
    if (c.count_after < c.count) {
      EXPECT_EQ(s.day_parts[c.count_after], day_part_entry{});
    }
  }
}

TEST(DayPartSteps, MusicDownThreeTimesThenMasterUpGivesOneMinusTwoOne) {
  day_part_entry e{0, 0, 0, 127, 0, 1440};
  for (int i = 0; i < 3; ++i) step_day_part(e, day_part_step::music_down);
  EXPECT_EQ(day_part_row_text(e), "00:00 - 24:00 0% -3% 0%");
  step_day_part(e, day_part_step::master_up);
  EXPECT_EQ(day_part_row_text(e), "00:00 - 24:00 1% -2% 1%");
}

TEST(DayPartSteps, EachButtonChangesItsOwnAdjustmentByOne) {
  struct step_case {
    day_part_step step;
    day_part_entry after;
  };
  const step_case cases[] = {
      {day_part_step::master_up, {11, 21, 31, 127, 0, 1440}},
      {day_part_step::master_down, {9, 19, 29, 127, 0, 1440}},
      {day_part_step::announcements_up, {11, 20, 30, 127, 0, 1440}},
      {day_part_step::announcements_down, {9, 20, 30, 127, 0, 1440}},
      {day_part_step::music_up, {10, 21, 30, 127, 0, 1440}},
      {day_part_step::music_down, {10, 19, 30, 127, 0, 1440}},
      {day_part_step::mic_up, {10, 20, 31, 127, 0, 1440}},
      {day_part_step::mic_down, {10, 20, 29, 127, 0, 1440}},
  };
  for (const step_case& c : cases) {
    day_part_entry e{10, 20, 30, 127, 0, 1440};
    step_day_part(e, c.step);
    EXPECT_EQ(e, c.after) << static_cast<int>(c.step);
  }
}

TEST(DayPartSteps, AdjustmentsStopAtTheSignedByteBounds) {
  day_part_entry e{127, -128, 0, 127, 0, 1440};
  step_day_part(e, day_part_step::announcements_up);
  step_day_part(e, day_part_step::music_down);
  EXPECT_EQ(e.announcement_adjust, 127);
  EXPECT_EQ(e.music_adjust, -128);
  step_day_part(e, day_part_step::master_up);  // the others still move
  EXPECT_EQ(e, (day_part_entry{127, -127, 1, 127, 0, 1440}));
  step_day_part(e, day_part_step::master_down);
  step_day_part(e, day_part_step::master_down);
  EXPECT_EQ(e, (day_part_entry{125, -128, -1, 127, 0, 1440}));
}

}  // namespace
}  // namespace zta
