#include <gtest/gtest.h>

#include "announcements/calendar.hpp"
#include "announcements/day_part.hpp"

namespace zta {
namespace {

// 2001-03-10 is a Saturday, 2001-03-11 a Sunday.
cached_clock clock_at(int day, int hour, int minute) {
  cached_clock c;
  c.set(*make_moment({2001, 3, day, hour, minute, 0, 0}));
  return c;
}

settings_block with_entries(std::initializer_list<day_part_entry> entries) {
  settings_block s;
  int i = 0;
  for (const auto& e : entries) s.day_parts[i++] = e;
  s.day_part_count = static_cast<std::uint8_t>(i);
  return s;
}

TEST(DayPart, NoEntriesGiveTheBaseLevels) {
  settings_block s;
  const cached_clock c = clock_at(10, 12, 0);
  EXPECT_EQ(announcement_level(s, c), 65);
  EXPECT_EQ(music_up_level(s, c), 50);
  EXPECT_EQ(music_down_level(s, c), 15);
  EXPECT_EQ(mic_level(s, c), 100);
}

TEST(DayPart, LoweringWinsOverRaisingAndRaisesDoNotAdd) {
  const cached_clock c = clock_at(10, 12, 0);
  settings_block mixed = with_entries({{0, 10, 0, 127, 0, 1440}, {0, -5, 0, 127, 0, 1440}});
  EXPECT_EQ(music_up_level(mixed, c), 45);
  EXPECT_EQ(music_down_level(mixed, c), 10);
  settings_block mixed_reversed =
      with_entries({{0, -5, 0, 127, 0, 1440}, {0, 10, 0, 127, 0, 1440}});
  EXPECT_EQ(music_up_level(mixed_reversed, c), 45);
  settings_block raises = with_entries({{0, 10, 0, 127, 0, 1440}, {0, 20, 0, 127, 0, 1440}});
  EXPECT_EQ(music_up_level(raises, c), 70);
  settings_block lowers = with_entries({{-3, 0, -40, 127, 0, 1440}, {-20, 0, 0, 127, 0, 1440}});
  EXPECT_EQ(announcement_level(lowers, c), 45);
  EXPECT_EQ(mic_level(lowers, c), 60);
}

TEST(DayPart, LevelsAreClamped) {
  const cached_clock c = clock_at(10, 12, 0);
  settings_block up = with_entries({{10, 0, 0, 127, 0, 1440}});
  up.announcement_level = 95;
  EXPECT_EQ(announcement_level(up, c), 100);
  settings_block down = with_entries({{-20, 0, 0, 127, 0, 1440}});
  down.announcement_level = 5;
  EXPECT_EQ(announcement_level(down, c), 0);
}

TEST(DayPart, WindowsAndWeekdays) {
  settings_block s = with_entries({{0, 10, 0, 0x40, 1320, 360}, {0, 30, 0, 127, 600, 600}});
  const struct {
    int day, hour, minute, music;
  } cases[] = {
      {10, 22, 0, 60}, {10, 23, 59, 60}, {10, 0, 0, 60},       {10, 5, 59, 60},
      {10, 6, 0, 50},  {11, 0, 30, 50},  {10, 10, 0, 60 - 10},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(music_up_level(s, clock_at(c.day, c.hour, c.minute)), c.music)
        << c.day << " " << c.hour << ":" << c.minute;
  }
}

TEST(DayPart, StoredCountAbove24IsCorrected) {
  settings_block s;
  s.day_part_count = 30;
  announcement_level(s, clock_at(10, 12, 0));
  EXPECT_EQ(s.day_part_count, 24);
}

TEST(DayPart, VolumeWords) {
  EXPECT_EQ(volume_word(50), 0x7FFF7FFFu);
  EXPECT_EQ(volume_word(100), 0xFFFFFFFFu);
  EXPECT_EQ(volume_word(65), 0xA665A665u);
  EXPECT_EQ(volume_word(0), 0u);
}

}  // namespace
}  // namespace zta
