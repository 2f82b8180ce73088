#include "announcements/day_part.hpp"

#include <algorithm>

namespace zta {
namespace {

bool in_minute_window(int start, int end, int m) {
  if (start <= end) return start <= m && m < end;
  return m >= start || m < end;
}

enum class adjustment { announcement, music, mic };

int level(settings_block& s, const cached_clock& clock, int base, adjustment which) {
  if (s.day_part_count > max_day_parts) s.day_part_count = max_day_parts;
  const int m = clock.now_secs / 60;
  int a = 0;
  for (int i = 0; i < s.day_part_count; ++i) {
    const day_part_entry& e = s.day_parts[i];
    if ((e.weekdays & clock.now_day_bit) == 0 || !in_minute_window(e.start, e.end, m)) continue;
    const std::int8_t adjust = which == adjustment::announcement ? e.announcement_adjust
                               : which == adjustment::music      ? e.music_adjust
                                                                 : e.mic_adjust;
    const int v = adjust;  // signed percentage points
    // The strongest lowering wins over any raising; otherwise the strongest raising.
    if (a >= 0 && v > a) a = v;
    if (v < 0 && v < a) a = v;
  }
  return std::clamp(base + a, 0, 100);
}

}  // namespace

int announcement_level(settings_block& s, const cached_clock& clock) {
  return level(s, clock, s.announcement_level, adjustment::announcement);
}
int music_up_level(settings_block& s, const cached_clock& clock) {
  return level(s, clock, s.music_up_level, adjustment::music);
}
int music_down_level(settings_block& s, const cached_clock& clock) {
  return level(s, clock, s.music_down_level, adjustment::music);
}
int mic_level(settings_block& s, const cached_clock& clock) {
  return level(s, clock, s.mic_level, adjustment::mic);
}

std::uint32_t volume_word(int level) {
  const auto v = static_cast<std::uint32_t>(std::clamp(level, 0, 100) * 65535 / 100);
  return v * 0x10001U;
}

}  // namespace zta
