#include "announcements/settings_choices.hpp"

#include <algorithm>

#include "announcements/text_encoding.hpp"
#include "base/leading_integer.hpp"

namespace zta {

device_items list_device_items(int present, int stored) {
  device_items items;
  items.present = std::clamp(present, 0, max_listed_devices);
  if (stored < 0) return items;
  if (stored < items.present) {
    items.selected = stored;
  } else {
    items.not_present = true;
    items.selected = items.present;
  }
  return items;
}

std::int8_t device_for_item(const device_items& items, int item, int stored) {
  if (item < 0) return -1;
  if (item < items.present) return static_cast<std::int8_t>(item);
  if (item == items.present && items.not_present && stored >= 0 && stored <= 127)
    return static_cast<std::int8_t>(stored);
  return -1;
}

std::uint8_t sequence_interval_from_text(std::string_view text) {
  const std::int32_t n = leading_integer(text.substr(0, std::min<std::size_t>(text.size(), 19)));
  return static_cast<std::uint8_t>(std::clamp<std::int32_t>(n, 0, 255));
}

std::string control_folder_from_text(std::string_view utf8) {
  return cut_at_character(utf8, control_folder_limit);
}

}  // namespace zta
