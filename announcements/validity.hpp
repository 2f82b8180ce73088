#pragma once
#include <cstdint>

#include "announcements/ann_blk.hpp"
#include "announcements/cached_clock.hpp"

namespace zta {

// Daily window [from, to); from > to wraps over midnight; from == to never matches.
bool in_window(std::int32_t from, std::int32_t to, std::int32_t s);
// Whether moment h lies in (prev, cur], wrapping over midnight when prev > cur.
bool passed(std::int32_t h, std::int32_t cur, std::int32_t prev);
// Has sound, inside commence..expiry, on its weekday and inside its daily window.
bool is_current(const ann_blk& a, const cached_clock& clock);
// Current, and one of its fixed times or its every-N-minutes moment lies in (prev, cur].
bool is_due(const ann_blk& a, const cached_clock& clock, std::int32_t cur, std::int32_t prev);

}  // namespace zta
