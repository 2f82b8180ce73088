#pragma once
#include <cstdint>

#include "announcements/cached_clock.hpp"
#include "announcements/settings_block.hpp"

namespace zta {

// Effective levels 0..100 for the present minute: base level plus the strongest lowering of the
// covering day-part entries, or else their strongest raising. A stored count above 24 is
// corrected to 24 in the block.
int announcement_level(settings_block& s, const cached_clock& clock);
int music_up_level(settings_block& s, const cached_clock& clock);
int music_down_level(settings_block& s, const cached_clock& clock);
int mic_level(settings_block& s, const cached_clock& clock);

// A level as a device volume word: v = L * 65535 / 100 in both 16-bit halves.
std::uint32_t volume_word(int level);

}  // namespace zta
