#include "announcements/cached_clock.hpp"

#include "announcements/ann_blk.hpp"
#include "announcements/calendar.hpp"

namespace zta {

void cached_clock::refresh_now(std::int32_t reading) {
  if (reading == now) return;
  // The usual step, a second or so later on the same day, moves the derived values along without
  // the calendar arithmetic (the scheduler refreshes several times a second).
  if (reading > now && static_cast<std::int64_t>(reading) - now < seconds_per_day - now_secs) {
    now_secs += reading - now;
    now = reading;
    return;
  }
  set(reading);
}

void cached_clock::set(std::int32_t reading) {
  now = reading;
  const calendar_fields f = break_moment(reading);
  now_secs = f.hour * 3600 + f.minute * 60 + f.second;
  now_day_bit = static_cast<std::uint8_t>(1U << f.weekday);
}

}  // namespace zta
