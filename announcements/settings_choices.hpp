#pragma once
// How the Settings dialog turns what the user chose into the stored settings: device choices
// from list positions, the typed sequence-play interval, the typed control folder.
//
// A device is stored by its index in the system's list of devices of its kind. The dialog lists
// the devices present, one item per device in index order; a stored device that is beyond that
// list (unplugged since it was chosen) is shown as one more item, "(not present)", which keeps
// the stored index unless the user picks a present device. No other index beyond the list is
// ever stored.
#include <cstdint>
#include <string>
#include <string_view>

namespace zta {

inline constexpr char device_not_present_text[] = "(not present)";
// Device indexes are stored in a signed byte.
inline constexpr int max_listed_devices = 127;
inline constexpr std::size_t control_folder_limit = 259;

// The items to list for `present` devices and the stored choice `stored` (< 0: none).
struct device_items {
  int present = 0;           // items 0 .. present-1 are the devices (at most 127)
  bool not_present = false;  // one more item, "(not present)", standing for `stored`
  int selected = -1;         // the item showing `stored`; -1 for none
};
device_items list_device_items(int present, int stored);
// The device to store for list item `item` (-1: no selection) of `items` listed for `stored`.
std::int8_t device_for_item(const device_items& items, int item, int stored);

// The typed interval: the number its first 19 characters start with, limited to 0..255 (text,
// an empty field and negative numbers give 0, sequence play off).
std::uint8_t sequence_interval_from_text(std::string_view text);

// The typed control folder as stored: at most 259 bytes, cut at a character boundary.
std::string control_folder_from_text(std::string_view utf8);

}  // namespace zta
