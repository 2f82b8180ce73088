#include <gtest/gtest.h>

#include "announcements/ann_blk.hpp"
#include "announcements/calendar.hpp"
#include "announcements/date_time_text.hpp"

namespace zta {
namespace {

std::int32_t at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return *make_moment({y, mo, d, h, mi, s, 0});
}

TEST(DateTimeText, Formats) {
  const std::int32_t m = at(2001, 3, 7, 14, 5, 9);
  EXPECT_EQ(date_text(m, date_order::day_month_year), "7/3/01");
  EXPECT_EQ(date_text(m, date_order::year_month_day), "01/3/07");
  EXPECT_EQ(date_text(m, date_order::month_day_year), "3/7/01");
  EXPECT_EQ(date_text(0, date_order::day_month_year), "IMMEDIATE");
  EXPECT_EQ(date_text(moment_never, date_order::day_month_year), "NEVER");
  EXPECT_EQ(time_text(m), "14:05:09");
  EXPECT_EQ(time_text(0), "");
  EXPECT_EQ(time_text(moment_never), "");
  EXPECT_EQ(day_time_text(86400), "24:00:00");
  EXPECT_EQ(day_time_text(25500), "07:05:00");
}

struct date_case {
  const char* text;
  date_order order;
  std::int32_t before;
  std::int32_t after;
};

TEST(DateTimeText, ParseDate) {
  const std::int32_t morning = at(2010, 6, 1, 10, 30, 0);
  const date_case cases[] = {
      {"7/3/01", date_order::day_month_year, morning, at(2001, 3, 7, 10, 30, 0)},
      {"3/7/01", date_order::month_day_year, morning, at(2001, 3, 7, 10, 30, 0)},
      {"01.3.7", date_order::year_month_day, morning, at(2001, 3, 7, 10, 30, 0)},
      {"7/3/1999", date_order::day_month_year, morning, at(1999, 3, 7, 10, 30, 0)},
      {"7/3/70", date_order::day_month_year, morning, at(1970, 3, 7, 10, 30, 0)},
      {"7/3/69", date_order::day_month_year, morning, morning},  // 2069: beyond the scale
      {"7/3/01", date_order::day_month_year, moment_never, at(2001, 3, 7, 3, 14, 7)},
      {"7/3/01", date_order::day_month_year, 0, at(2001, 3, 7)},
      {"never", date_order::day_month_year, morning, moment_never},
      {"  Immediate", date_order::day_month_year, morning, 0},
      {"1never", date_order::day_month_year, morning, at(2010, 6, 1, 10, 30, 0)},
      {"9", date_order::day_month_year, morning, at(2010, 6, 9, 10, 30, 0)},
      {"", date_order::day_month_year, morning, morning},
      {"32/1/01", date_order::day_month_year, morning, at(2001, 2, 1, 10, 30, 0)},
  };
  for (const auto& c : cases) {
    std::int32_t m = c.before;
    parse_date(m, c.text, c.order);
    EXPECT_EQ(m, c.after) << c.text;
  }
}

TEST(DateTimeText, ParseTime) {
  const std::int32_t day = at(2001, 3, 7, 8, 45, 30);
  const struct {
    const char* text;
    std::int32_t after;
  } cases[] = {
      {"1:30pm", at(2001, 3, 7, 13, 30, 0)},
      {"12:15am", at(2001, 3, 7, 0, 15, 0)},
      {"12pm", at(2001, 3, 7, 12, 0, 0)},
      {"9", at(2001, 3, 7, 9, 0, 0)},
      {"", day},
      {"10:20:30:40", at(2001, 3, 7, 10, 20, 30)},
      {":5", at(2001, 3, 7, 8, 5, 0)},
  };
  for (const auto& c : cases) {
    std::int32_t m = day;
    parse_time(m, c.text);
    EXPECT_EQ(m, c.after) << c.text;
  }
}

TEST(DateTimeText, ParseDayTime) {
  const struct {
    const char* text;
    std::int32_t secs;
  } cases[] = {{"7.5", 25500},   {"24:00", 86400}, {"25:00", 90000},     {"1:30pm", 48600},
               {"12:15am", 900}, {"", 0},          {"8\\30", 830 * 3600}};
  for (const auto& c : cases) EXPECT_EQ(parse_day_time(c.text), c.secs) << c.text;
}

TEST(DateOrder, FromLocaleFormats) {
  const struct {
    const char* fmt;
    date_order order;
  } cases[] = {
      {"%m/%d/%Y", date_order::month_day_year}, {"%d/%m/%y", date_order::day_month_year},
      {"%d.%m.%Y", date_order::day_month_year}, {"%Y年%m月%d日", date_order::year_month_day},
      {"%m/%d/%y", date_order::month_day_year}, {"%F", date_order::year_month_day},
      {"", date_order::month_day_year},         {nullptr, date_order::month_day_year}};
  for (const auto& c : cases)
    EXPECT_EQ(date_order_from_format(c.fmt), c.order) << (c.fmt ? c.fmt : "null");
}

}  // namespace
}  // namespace zta
