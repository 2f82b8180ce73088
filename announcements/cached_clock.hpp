#pragma once
#include <cstdint>

#include "platform/api/wall_clock.hpp"

namespace zta {

// The one cached reading of the clock that every schedule rule is measured against. It changes
// only in refresh_now, at the start of every scheduler event.
struct cached_clock {
  std::int32_t now = 0;             // local wall-clock seconds since 1970 read as UTC
  std::int32_t now_secs = 0;        // seconds since local midnight, 0..86399
  std::uint8_t now_day_bit = 0x10;  // 1 << weekday, Sunday = bit 0 (1970-01-01 was a Thursday)

  // Takes the reading; derived values are recomputed only when it changed.
  void refresh_now(const wall_clock& source) { refresh_now(source.local_now()); }
  void refresh_now(std::int32_t reading);
  // Forces a reading and its derived values (start-up, tests).
  void set(std::int32_t reading);
};

}  // namespace zta
