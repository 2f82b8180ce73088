// The rules behind the Announcement Control dialog: which rows it lists, how what was typed goes
// back into a record, the autoplay choice, the fixed-time rows and the notes beside them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "announcements/calendar.hpp"
#include "announcements/edit_fields.hpp"
#include "announcements/edit_rows.hpp"
#include "announcements/fixed_time_rows.hpp"
#include "tests/common/announcement_maker.hpp"

namespace zta {
namespace {

using test::always_current;

std::int32_t at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return *make_moment({y, mo, d, h, mi, s, 0});
}

ablklist list_of(std::initializer_list<int> clips) {
  ablklist list;
  int n = 0;
  for (int clip : clips) list.push_back(always_current("A" + std::to_string(n++), clip));
  return list;
}

struct rows_case {
  const char* name;
  std::vector<int> clips;
  int select;
  std::vector<std::int8_t> map;
  int selected;
};

TEST(EditRows, SoundOrTheOneAskedFor) {
  const rows_case cases[] = {
      {"all with sound, none asked", {0, 1, 2}, -1, {0, 1, 2}, -1},
      {"placeholders hidden", {0, -1, 2, -1}, 2, {0, 2}, 1},
      {"the placeholder asked for stays", {0, -1, 2, -1}, 3, {0, 2, 3}, 2},
      {"asked for outside the list", {0, 1}, 5, {0, 1}, -1},
      {"empty list", {}, -1, {}, -1},
  };
  for (const auto& c : cases) {
    ablklist list;
    int n = 0;
    for (int clip : c.clips) list.push_back(always_current("A" + std::to_string(n++), clip));
    const edit_rows rows = build_edit_rows(list, c.select);
    EXPECT_EQ(rows.map, c.map) << c.name;
    EXPECT_EQ(rows.selected, c.selected) << c.name;
    EXPECT_EQ(rows.index(-1), -1) << c.name;
    EXPECT_EQ(rows.index(rows.count()), -1) << c.name;
  }
}

TEST(EditRows, ExchangeMovesWholeRecordsAndKeepsTheRowMap) {
  ablklist list = list_of({0, -1, 2});
  list[0].fixed_times = {3600};
  list[0].script = "first";
  list[2].script = "third";
  const ann_blk first = list[0];
  const ann_blk third = list[2];
  const edit_rows rows = build_edit_rows(list, -1);  // rows: 0 -> 0, 1 -> 2
  ASSERT_TRUE(exchange_rows(list, rows, 1, 0));
  EXPECT_EQ(list[0], third);
  EXPECT_EQ(list[2], first);
  EXPECT_EQ(list[1].clip, -1);  // the hidden placeholder between them stays where it was
  const ablklist before = list;
  EXPECT_FALSE(exchange_rows(list, rows, 0, -1));  // Up on the first row
  EXPECT_FALSE(exchange_rows(list, rows, 1, 2));   // Down on the last row
  EXPECT_EQ(list[0], before[0]);
  EXPECT_EQ(list[2], before[2]);
}

ann_blk user_record() {
  ann_blk a = always_current("Store Closing", 4);
  a.user_made = 1;
  a.commence = 0;
  a.expiry = moment_never;
  a.autoplay = -1;
  return a;
}

// The fields as shown, with one text typed over.
edit_fields typed(const ann_blk& a, text_field edit_fields::*field, std::string text) {
  edit_fields f = shown_fields(a, date_order::day_month_year);
  f.*field = {std::move(text), true};
  return f;
}

TEST(EditFields, ShownTextsAndBoxes) {
  ann_blk a = user_record();
  a.commence = at(2001, 3, 7, 10, 30, 0);
  a.day_from = 36000;
  a.weekdays = 0x03;
  a.autoplay = 15;
  a.chimes = 1;
  a.script = "Line one\r\nLine two";
  const edit_fields f = shown_fields(a, date_order::day_month_year);
  EXPECT_EQ(f.name.text, "Store Closing");
  EXPECT_EQ(f.commence_date.text, "7/3/01");
  EXPECT_EQ(f.commence_time.text, "10:30:00");
  EXPECT_EQ(f.expiry_date.text, "NEVER");
  EXPECT_EQ(f.expiry_time.text, "");
  EXPECT_EQ(f.day_from.text, "10:00:00");
  EXPECT_EQ(f.day_to.text, "24:00:00");
  EXPECT_TRUE(f.every);
  EXPECT_EQ(f.minutes.text, "15");
  EXPECT_FALSE(f.sequence);
  EXPECT_EQ(f.script.text, "Line one\nLine two");
  EXPECT_EQ(f.weekdays, 0x03);
  EXPECT_TRUE(f.chimes);
  EXPECT_FALSE(f.name.modified || f.commence_date.modified || f.script.modified);
  a.autoplay = -1;
  const edit_fields s = shown_fields(a, date_order::day_month_year);
  EXPECT_FALSE(s.every);
  EXPECT_EQ(s.minutes.text, "");
  EXPECT_TRUE(s.sequence);
}

TEST(EditFields, UntouchedFieldsNeverChangeTheRecord) {
  ann_blk a = user_record();
  a.name[31] = '\0';
  edit_fields f = shown_fields(a, date_order::day_month_year);
  // The texts differ from what a parse of them would give, but nobody typed into them.
  f.commence_date.text = "12/12/12";
  f.day_to.text = "01:00:00";
  f.name.text = "Other";
  const ann_blk before = a;
  store_fields(a, f, date_order::day_month_year);
  EXPECT_EQ(a, before);
}

struct store_case {
  const char* name;
  text_field edit_fields::*field;
  const char* text;
  std::int32_t ann_blk::*moment;  // or null for the name and times of day
  std::int32_t expected;
};

TEST(EditFields, TypedMomentsAndTimes) {
  const store_case cases[] = {
      {"IMMEDIATE typed over", &edit_fields::commence_date, "7/3/01", &ann_blk::commence,
       at(2001, 3, 7)},
      {"time beside IMMEDIATE lands on 1 January 1970", &edit_fields::commence_time, "8:15",
       &ann_blk::commence, 8 * 3600 + 15 * 60},
      {"date over NEVER keeps its time of day", &edit_fields::expiry_date, "1/4/24",
       &ann_blk::expiry, at(2024, 4, 1, 3, 14, 7)},
      {"a word typed into the date", &edit_fields::expiry_date, "never", &ann_blk::expiry,
       moment_never},
      {"From typed", &edit_fields::day_from, "7.5", &ann_blk::day_from, 25500},
      {"To of 24:00:00", &edit_fields::day_to, "24:00:00", &ann_blk::day_to, 86400},
      {"only 18 characters are read", &edit_fields::day_from, "00:00:0000000000001234",
       &ann_blk::day_from, 0},
  };
  for (const auto& c : cases) {
    ann_blk a = user_record();
    store_fields(a, typed(a, c.field, c.text), date_order::day_month_year);
    EXPECT_EQ(a.*c.moment, c.expected) << c.name;
  }
}

TEST(EditFields, DateAndTimeTypedTogetherBothCount) {
  ann_blk a = user_record();
  edit_fields f = shown_fields(a, date_order::month_day_year);
  f.commence_date = {"3/7/01", true};
  f.commence_time = {"1:30pm", true};
  store_fields(a, f, date_order::month_day_year);
  EXPECT_EQ(a.commence, at(2001, 3, 7, 13, 30, 0));
}

TEST(EditFields, NameIsCutToThirtyCharactersOnlyWhenStored) {
  ann_blk a = user_record();
  const std::string typed31 = "abcdefghijklmnopqrstuvwxyz01234";
  ASSERT_EQ(typed31.size(), 31u);
  store_fields(a, typed(a, &edit_fields::name, typed31), date_order::day_month_year);
  EXPECT_EQ(a.name_text(), typed31.substr(0, 30));
  // A character is never split: "é" is two bytes and would be the 30th and 31st.
  std::string accented = std::string(29, 'x') + "\xC3\xA9";
  store_fields(a, typed(a, &edit_fields::name, accented), date_order::day_month_year);
  EXPECT_EQ(a.name_text(), std::string(29, 'x'));
}

struct autoplay_case {
  const char* name;
  bool every;
  bool sequence;
  const char* minutes;
  std::int16_t expected;
};

TEST(EditFields, AutoplayFromTheBoxes) {
  const autoplay_case cases[] = {
      {"every 15", true, false, "15", 15},
      {"every with 0 typed: no periodic start", true, false, "0", 0},
      {"every with no digits", true, false, "abc", 0},
      {"every with a negative number, stored as typed", true, false, "-5", -5},
      {"every with leading blanks", true, false, "  42min", 42},
      {"every beyond what the record holds", true, false, "100000", 32767},
      {"in sequence", false, true, "15", -1},
      {"neither", false, false, "15", 0},
  };
  for (const auto& c : cases) {
    ann_blk a = user_record();
    edit_fields f = shown_fields(a, date_order::day_month_year);
    f.every = c.every;
    f.sequence = c.sequence;
    f.minutes = {c.minutes, false};  // read whether typed or not
    store_fields(a, f, date_order::day_month_year);
    EXPECT_EQ(a.autoplay, c.expected) << c.name;
  }
}

TEST(EditFields, WeekdaysAndFlagsAreAlwaysStored) {
  ann_blk a = user_record();
  edit_fields f = shown_fields(a, date_order::day_month_year);
  f.weekdays = weekday_box_bits[0] | weekday_box_bits[6];  // Mon and Sun
  f.chimes = false;
  f.confirm = true;
  f.manual = false;
  store_fields(a, f, date_order::day_month_year);
  EXPECT_EQ(a.weekdays, 0x03);
  EXPECT_EQ(a.chimes, 0);
  EXPECT_EQ(a.confirm, 1);
  EXPECT_EQ(a.manual, 0);
}

TEST(EditFields, AutoplayClicksAreAThreeWayChoice) {
  ann_blk a = user_record();
  a.autoplay = 0;
  EXPECT_TRUE(click_every(a, "").fill_minutes);  // empty minutes: 60 filled in
  EXPECT_EQ(a.autoplay, 60);
  click_sequence(a);
  EXPECT_EQ(a.autoplay, -1);  // the every box is cleared with it
  click_sequence(a);
  EXPECT_EQ(a.autoplay, 0);
  EXPECT_FALSE(click_every(a, "25").fill_minutes);
  EXPECT_EQ(a.autoplay, 25);
  click_every(a, "25");
  EXPECT_EQ(a.autoplay, 0);  // clicked again: off, the text stays
  EXPECT_TRUE(click_every(a, "-3").fill_minutes);
  EXPECT_EQ(a.autoplay, 60);
}

TEST(EditFields, ScriptLineEndsAndTheStoredLimit) {
  ann_blk a = user_record();
  store_fields(a, typed(a, &edit_fields::script, "Hello\nworld"), date_order::day_month_year);
  EXPECT_EQ(a.script, "Hello\r\nworld");
  EXPECT_EQ(shown_fields(a, date_order::day_month_year).script.text, "Hello\nworld");

  // What the settings file can hold, counting CR LF as two.
  const std::string lines = std::string(script_edit_limit - 3, 'a') + "\n\n";
  EXPECT_EQ(script_within_limit(lines), std::string(script_edit_limit - 3, 'a') + "\n");
  store_fields(a, typed(a, &edit_fields::script, std::string(70000, 'b')),
               date_order::day_month_year);
  EXPECT_EQ(a.script.size(), script_edit_limit);
  // A character is kept whole or not at all.
  const std::string euro = std::string(script_edit_limit - 1, 'c') + "\xE2\x82\xAC";
  EXPECT_EQ(script_within_limit(euro), std::string(script_edit_limit - 1, 'c'));
}

TEST(FixedTimeRows, SortedRowsKeepTheirEntries) {
  ann_blk a = user_record();
  add_fixed_time(a, 15 * 3600);
  add_fixed_time(a, 9 * 3600);
  add_fixed_time(a, 15 * 3600);  // two equal times are both kept
  EXPECT_EQ(a.fixed_times, (std::vector<std::int32_t>{54000, 32400, 54000}));
  auto rows = fixed_time_rows(a.fixed_times, 0, 86400);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].text, "09:00:00");
  EXPECT_EQ(rows[0].entry, 1u);
  EXPECT_EQ(rows[1].entry, 0u);
  EXPECT_EQ(rows[2].entry, 2u);
  // Deleting the row 09:00:00 removes that entry, whatever its position.
  ASSERT_TRUE(delete_fixed_time(a, rows[0].entry));
  EXPECT_EQ(a.fixed_times, (std::vector<std::int32_t>{54000, 54000}));
  ASSERT_TRUE(replace_fixed_time(a, 1, 25500));
  EXPECT_EQ(a.fixed_times, (std::vector<std::int32_t>{54000, 25500}));
  EXPECT_FALSE(replace_fixed_time(a, 2, 0));
  EXPECT_FALSE(delete_fixed_time(a, 7));
  ASSERT_TRUE(delete_fixed_time(a, 0));
  ASSERT_TRUE(delete_fixed_time(a, 0));
  EXPECT_TRUE(a.fixed_times.empty());
}

struct window_case {
  const char* name;
  std::int32_t from, to, time;
  bool plays;
};

TEST(FixedTimeRows, TimesOutsideTheWindowAreMarked) {
  const window_case cases[] = {
      {"inside", 36000, 57600, 36000, true},
      {"at the window's end, which is exclusive", 36000, 57600, 57600, false},
      {"just before the end", 36000, 57600, 57599, true},
      {"before the start", 36000, 57600, 35999, false},
      {"over midnight, late", 79200, 21600, 82800, true},
      {"over midnight, midday", 79200, 21600, 43200, false},
      {"24:00:00 never comes", 0, 86400, 86400, false},
      {"empty window", 3600, 3600, 3600, false},
  };
  for (const auto& c : cases) {
    const auto rows = fixed_time_rows({c.time}, c.from, c.to);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].plays, c.plays) << c.name;
  }
  EXPECT_EQ(fixed_time_note(36000, 57600),
            "Outside the time of day 10:00:00 to 16:00:00: this time never plays.");
}

TEST(FixedTimeRows, ScheduleNotes) {
  EXPECT_EQ(schedule_note(every_day, 0, 86400), "");
  EXPECT_EQ(schedule_note(0, 0, 86400), "No weekday is ticked: this announcement never plays.");
  EXPECT_EQ(schedule_note(0x02, 3600, 3600),
            "Time of Day From equals To: this announcement never plays.");
  EXPECT_NE(schedule_note(0, 0, 0).find('\n'), std::string::npos);
}

}  // namespace
}  // namespace zta
