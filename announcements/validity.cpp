#include "announcements/validity.hpp"

namespace zta {

bool in_window(std::int32_t from, std::int32_t to, std::int32_t s) {
  if (from <= to) return from <= s && s < to;
  return s >= from || s < to;
}

bool passed(std::int32_t h, std::int32_t cur, std::int32_t prev) {
  if (prev <= cur) return prev < h && h <= cur;
  return h > prev || h <= cur;
}

bool is_current(const ann_blk& a, const cached_clock& clock) {
  return a.clip >= 0 && a.commence <= clock.now && clock.now < a.expiry &&
         (a.weekdays & clock.now_day_bit) != 0 && in_window(a.day_from, a.day_to, clock.now_secs);
}

bool is_due(const ann_blk& a, const cached_clock& clock, std::int32_t cur, std::int32_t prev) {
  if (!is_current(a, clock)) return false;
  for (std::int32_t h : a.fixed_times) {
    if (passed(h, cur, prev)) return true;
  }
  if (a.autoplay > 0) {
    const std::int32_t m = a.autoplay * 60;
    // The last multiple of m at or before cur (floor, also for a negative cur).
    std::int32_t q = cur / m;
    if (cur % m != 0 && cur < 0) --q;
    return passed(q * m, cur, prev);
  }
  return false;
}

}  // namespace zta
