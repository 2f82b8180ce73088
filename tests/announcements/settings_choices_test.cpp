#include <gtest/gtest.h>

#include <string>

#include "announcements/settings_choices.hpp"
#include "base/leading_integer.hpp"

namespace zta {
namespace {

TEST(LeadingInteger, ReadsTheNumberATextStartsWith) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"12", 12},
      {"  7 mins", 7},
      {"-5", -5},
      {"+9", 9},
      {"abc", 0},
      {"", 0},
      {"12abc", 12},
      {"- 5", 0},
      {"\t\n3", 3},
      {"007", 7},
      {"99999999999999999999", 2147483647},
      {"-99999999999999999999", -2147483647 - 1},
  };
  for (const auto& [text, n] : cases) EXPECT_EQ(leading_integer(text), n) << text;
}

TEST(SequenceInterval, TypedTextIsClampedToAByte) {
  const std::pair<const char*, int> cases[] = {
      {"1", 1},
      {"255", 255},
      {"300", 255},
      {"-5", 0},
      {"abc", 0},
      {"", 0},
      {"15 mins", 15},
      {"99999999999999999999999", 255},
      {"000000000000000000012", 0},  // only 19 characters are read
      {"00000000000000000012", 1},
  };
  for (const auto& [text, n] : cases) EXPECT_EQ(sequence_interval_from_text(text), n) << text;
}

struct device_case {
  int present;
  int stored;
  int listed;  // items shown
  int selected;
};

TEST(DeviceChoice, AStoredDeviceBeyondTheListShowsAsNotPresent) {
  const device_case cases[] = {
      {3, 1, 3, 1},      // present: its own item
      {3, -1, 3, -1},    // none: nothing selected
      {2, 2, 3, 2},      // unplugged: one more item, selected
      {2, 5, 3, 2},      //
      {0, 0, 1, 0},      // no devices at all, a device stored
      {0, -1, 0, -1},    // no devices, none stored: empty list
      {200, 3, 127, 3},  // no more than a signed byte can store
  };
  for (const device_case& c : cases) {
    const device_items items = list_device_items(c.present, c.stored);
    EXPECT_EQ(items.present + (items.not_present ? 1 : 0), c.listed) << c.present << c.stored;
    EXPECT_EQ(items.selected, c.selected) << c.present << " " << c.stored;
  }
}

TEST(DeviceChoice, OnlyPresentDevicesOrTheKeptOneAreStored) {
  const device_items unplugged = list_device_items(2, 4);
  EXPECT_EQ(device_for_item(unplugged, 0, 4), 0);
  EXPECT_EQ(device_for_item(unplugged, 1, 4), 1);
  EXPECT_EQ(device_for_item(unplugged, 2, 4), 4);  // "(not present)" keeps the stored one
  EXPECT_EQ(device_for_item(unplugged, 3, 4), -1);
  EXPECT_EQ(device_for_item(unplugged, -1, 4), -1);
  const device_items plugged = list_device_items(2, 1);
  EXPECT_EQ(device_for_item(plugged, 2, 1), -1);  // no item beyond the list
  const device_items empty = list_device_items(0, -1);
  EXPECT_EQ(device_for_item(empty, 0, -1), -1);
  EXPECT_EQ(device_for_item(empty, -1, -1), -1);
}

TEST(ControlFolderText, IsCutAtACharacterWithin259Bytes) {
  EXPECT_EQ(control_folder_from_text("/srv/share"), "/srv/share");
  const std::string long_ascii(300, 'a');
  EXPECT_EQ(control_folder_from_text(long_ascii).size(), 259u);
  std::string accented(258, 'a');
  accented += "\xc3\xa9";  // a two-byte character across the limit
  EXPECT_EQ(control_folder_from_text(accented), std::string(258, 'a'));
}

}  // namespace
}  // namespace zta
