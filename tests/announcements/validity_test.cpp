#include <gtest/gtest.h>

#include "announcements/calendar.hpp"
#include "announcements/validity.hpp"
#include "platform/sim/fixed_wall_clock.hpp"

namespace zta {
namespace {

// 2001-03-07 (a Wednesday) at the given seconds since midnight.
cached_clock clock_at(std::int32_t secs, int day = 7) {
  cached_clock c;
  c.set(*make_moment({2001, 3, day, 0, 0, 0, 0}) + secs);
  return c;
}

ann_blk current_all_day() {
  ann_blk a = package_record_defaults();
  a.clip = 3;
  return a;
}

TEST(CachedClock, DerivesSecondsAndWeekdayBit) {
  cached_clock c;
  c.set(946684800);  // 2000-01-01 00:00:00, a Saturday
  EXPECT_EQ(c.now_secs, 0);
  EXPECT_EQ(c.now_day_bit, 0x40);
  c.refresh_now(946684800 + 86400 + 3661);  // Sunday 01:01:01
  EXPECT_EQ(c.now_secs, 3661);
  EXPECT_EQ(c.now_day_bit, 0x01);
  fixed_wall_clock source(946684800 + 2 * 86400);
  c.refresh_now(source);
  EXPECT_EQ(c.now_day_bit, 0x02);  // Monday
}

// Stepping forward in small and large steps, across midnights and a week's end, always gives what
// a fresh reading of the same moment gives.
TEST(CachedClock, RefreshesMatchFreshReadings) {
  cached_clock stepped;
  stepped.set(946684800 - 7);  // Friday 23:59:53, before the Saturday of 2000-01-01
  for (std::int32_t step : {1, 1, 1, 5, 1, 2, 86399, 1, 1, 3600, 43199, 1, 86400, 90000, 1, 1}) {
    const std::int32_t reading = stepped.now + step;
    stepped.refresh_now(reading);
    cached_clock fresh;
    fresh.set(reading);
    ASSERT_EQ(stepped.now, reading);
    ASSERT_EQ(stepped.now_secs, fresh.now_secs) << reading;
    ASSERT_EQ(stepped.now_day_bit, fresh.now_day_bit) << reading;
  }
  // Back again (the clock was set back): a fresh reading too.
  stepped.refresh_now(946684800 - 1);
  EXPECT_EQ(stepped.now_secs, 86399);
  EXPECT_EQ(stepped.now_day_bit, 0x20);  // Friday
}

struct window_case {
  std::int32_t from, to, s;
  bool expected;
};

TEST(Validity, InWindow) {
  const window_case cases[] = {
      {0, 0, 0, false},
      {0, 0, 43200, false},
      {79200, 21600, 86399, true},
      {79200, 21600, 0, true},
      {79200, 21600, 21599, true},
      {79200, 21600, 21600, false},
      {79200, 21600, 79199, false},
      {0, 86400, 86399, true},
      {0, 86400, 0, true},
      {3600, 7200, 3600, true},
      {3600, 7200, 7200, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(in_window(c.from, c.to, c.s), c.expected) << c.from << "-" << c.to << " at " << c.s;
  }
}

struct passed_case {
  std::int32_t h, cur, prev;
  bool expected;
};

TEST(Validity, PassedIsOpenAtPrevClosedAtCur) {
  const passed_case cases[] = {
      {100, 200, 100, false},   {200, 200, 100, true}, {150, 200, 100, true},
      {100, 100, 100, false},   {0, 3, 86395, true},   {86398, 3, 86395, true},
      {86395, 3, 86395, false}, {4, 3, 86395, false},  {3, 3, 86395, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(passed(c.h, c.cur, c.prev), c.expected)
        << c.h << " in (" << c.prev << "," << c.cur << "]";
  }
}

TEST(Validity, IsCurrentEdges) {
  const cached_clock at_noon = clock_at(43200);
  ann_blk a = current_all_day();
  EXPECT_TRUE(is_current(a, at_noon));

  ann_blk no_clip = a;
  no_clip.clip = -1;
  EXPECT_FALSE(is_current(no_clip, at_noon));

  ann_blk starts_now = a;
  starts_now.commence = at_noon.now;
  EXPECT_TRUE(is_current(starts_now, at_noon));
  ann_blk ends_now = a;
  ends_now.expiry = at_noon.now;
  EXPECT_FALSE(is_current(ends_now, at_noon));

  ann_blk no_days = a;
  no_days.weekdays = 0;
  EXPECT_FALSE(is_current(no_days, at_noon));
  ann_blk wednesday = a;
  wednesday.weekdays = 0x08;
  EXPECT_TRUE(is_current(wednesday, at_noon));
  wednesday.weekdays = 0x10;
  EXPECT_FALSE(is_current(wednesday, at_noon));

  ann_blk empty_window = a;
  empty_window.day_from = empty_window.day_to = 0;
  EXPECT_FALSE(is_current(empty_window, at_noon));

  ann_blk night = a;
  night.day_from = 79200;
  night.day_to = 21600;
  EXPECT_TRUE(is_current(night, clock_at(86399)));
  EXPECT_TRUE(is_current(night, clock_at(0)));
  EXPECT_TRUE(is_current(night, clock_at(21599)));
  EXPECT_FALSE(is_current(night, clock_at(21600)));
  EXPECT_FALSE(is_current(night, clock_at(79199)));
}

TEST(Validity, IsDueFixedTimesAndPeriods) {
  const cached_clock clock = clock_at(43200);
  ann_blk a = current_all_day();
  a.fixed_times = {200, 86398, 0};
  EXPECT_FALSE(is_due(a, clock, 300, 200)) << "a fixed time equal to prev was handled before";
  EXPECT_TRUE(is_due(a, clock, 200, 100)) << "a fixed time equal to cur is due";
  EXPECT_TRUE(is_due(a, clock, 3, 86395)) << "midnight passed";

  ann_blk none_at_midnight = a;
  none_at_midnight.fixed_times = {86395};
  EXPECT_FALSE(is_due(none_at_midnight, clock, 3, 86395));

  ann_blk silent = a;
  silent.clip = -1;
  EXPECT_FALSE(is_due(silent, clock, 200, 100));

  ann_blk every7 = current_all_day();
  every7.autoplay = 7;
  EXPECT_TRUE(is_due(every7, clock, 1260, 1255));
  EXPECT_FALSE(is_due(every7, clock, 1265, 1260));

  ann_blk every45 = current_all_day();
  every45.autoplay = 45;
  EXPECT_TRUE(is_due(every45, clock, 2700, 2699));    // 00:45
  EXPECT_TRUE(is_due(every45, clock, 83700, 83699));  // 23:15
  EXPECT_FALSE(is_due(every45, clock, 86399, 83700));
  EXPECT_TRUE(is_due(every45, clock, 2, 86399));  // 00:00 again

  ann_blk sequence = current_all_day();
  sequence.autoplay = -1;
  EXPECT_FALSE(is_due(sequence, clock, 3600, 0));
  sequence.fixed_times = {1800};
  EXPECT_TRUE(is_due(sequence, clock, 3600, 0));
}

TEST(Calendar, MomentsRoundTripAndNormalise) {
  EXPECT_EQ(*make_moment({2000, 1, 1, 0, 0, 0, 0}), 946684800);
  const calendar_fields never = break_moment(0x7FFFFFFF);
  EXPECT_EQ(never.year, 2038);
  EXPECT_EQ(never.hour, 3);
  EXPECT_EQ(never.minute, 14);
  EXPECT_EQ(never.second, 7);
  EXPECT_EQ(*make_moment({2001, 13, 1, 0, 0, 0, 0}), *make_moment({2002, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(*make_moment({2001, 2, 29, 0, 0, 0, 0}), *make_moment({2001, 3, 1, 0, 0, 0, 0}));
  EXPECT_FALSE(make_moment({2069, 3, 7, 0, 0, 0, 0}).has_value());
  const calendar_fields before = break_moment(-1);
  EXPECT_EQ(before.year, 1969);
  EXPECT_EQ(before.second, 59);
}

}  // namespace
}  // namespace zta
