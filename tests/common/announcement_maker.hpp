#pragma once
// Announcements for tests.
#include <string_view>

#include "announcements/ann_blk.hpp"

namespace zta::test {

// Current at any moment (all dates, all day, every day) with the given clip; every other field as
// a freshly allocated record has it (no chimes, not manual, no automatic start).
inline ann_blk always_current(std::string_view name, int clip) {
  ann_blk a;
  a.set_name(name);
  a.clip = static_cast<std::int16_t>(clip);
  a.expiry = moment_never;
  a.day_to = seconds_per_day;
  a.weekdays = every_day;
  return a;
}

}  // namespace zta::test
