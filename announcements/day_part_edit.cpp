#include "announcements/day_part_edit.hpp"

#include <algorithm>
#include <cstdio>

#include "base/leading_integer.hpp"

namespace zta {

namespace {

constexpr std::size_t typed_time_limit = 18;

std::int8_t stepped(std::int8_t value, int by) {
  return static_cast<std::int8_t>(std::clamp(value + by, -128, 127));
}

}  // namespace

std::string day_part_row_text(const day_part_entry& e) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2d:%.2d - %.2d:%.2d %d%% %d%% %d%%", e.start / 60,
                e.start % 60, e.end / 60, e.end % 60, e.announcement_adjust, e.music_adjust,
                e.mic_adjust);
  return text;
}

std::string day_part_time_text(int minutes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2d:%.2d", minutes / 60, minutes % 60);
  return text;
}

std::int16_t parse_day_part_time(std::string_view text) {
  text = text.substr(0, std::min(text.size(), typed_time_limit));
  std::int64_t minutes = std::int64_t{leading_integer(text)} * 60;
  if (std::size_t sep = text.find_first_of(":."); sep != std::string_view::npos)
    minutes += leading_integer(text.substr(sep + 1));
  // Kept as the 16-bit field holds it, without a range check.
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(minutes & 0xFFFF));
}

void clamp_day_part_count(settings_block& s) {
  if (s.day_part_count > max_day_parts) s.day_part_count = max_day_parts;
}

int add_day_part(settings_block& s) {
  clamp_day_part_count(s);
  if (s.day_part_count >= max_day_parts) return -1;
  const int index = s.day_part_count++;
  s.day_parts[static_cast<std::size_t>(index)] = day_part_entry{0, 0, 0, 127, 0, 1440};
  return index;
}

int remove_day_part(settings_block& s, int index) {
  clamp_day_part_count(s);
  const int count = s.day_part_count;
  if (index < 0 || index >= count) return -1;
  std::copy(s.day_parts.begin() + index + 1, s.day_parts.begin() + count,
            s.day_parts.begin() + index);
  s.day_parts[static_cast<std::size_t>(count - 1)] = day_part_entry{};
  s.day_part_count = static_cast<std::uint8_t>(count - 1);
  if (count - 1 == 0) return -1;
  return std::min(index, count - 2);
}

void step_day_part(day_part_entry& e, day_part_step step) {
  switch (step) {
    case day_part_step::master_up:
    case day_part_step::master_down: {
      const int by = step == day_part_step::master_up ? 1 : -1;
      e.announcement_adjust = stepped(e.announcement_adjust, by);
      e.music_adjust = stepped(e.music_adjust, by);
      e.mic_adjust = stepped(e.mic_adjust, by);
      break;
    }
    case day_part_step::announcements_up:
      e.announcement_adjust = stepped(e.announcement_adjust, 1);
      break;
    case day_part_step::announcements_down:
      e.announcement_adjust = stepped(e.announcement_adjust, -1);
      break;
    case day_part_step::music_up:
      e.music_adjust = stepped(e.music_adjust, 1);
      break;
    case day_part_step::music_down:
      e.music_adjust = stepped(e.music_adjust, -1);
      break;
    case day_part_step::mic_up:
      e.mic_adjust = stepped(e.mic_adjust, 1);
      break;
    case day_part_step::mic_down:
      e.mic_adjust = stepped(e.mic_adjust, -1);
      break;
  }
}

}  // namespace zta
