#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ui/main_window_controls.hpp"

namespace zta::ui {
namespace {

TEST(MainWindowControls, ButtonsCarryTheirTextGlyphAndTooltip) {
  std::map<int, control_layout> by_id;
  for (const control_layout& c : main_window_controls()) by_id.emplace(c.id, c);
  ASSERT_EQ(by_id.size(), 12u);
  const struct {
    int id, bitmap;
    const char *text, *tip;
  } buttons[] = {
      {102, 7, "&Play Announcement", "Play Selected Announcement"},
      {104, 8, "Stop", "Stop playing announcement"},
      {110, 3, "&Load", "Load Announcements on Disk, CD or Download"},
      {101, 10, "A&nnouncement Control", "Schedule, Delete or Record Announcements"},
      {111, 4, "Se&ttings", "Setup Sound Devices, Volume and Run Mode"},
      {150, 1, "&Help", "Display Manual"},
      {109, 5, "&Close", "Close this box and continue to autoplay announcements"},
      {103, 6, "&Microphone Page", ""},
  };
  for (const auto& b : buttons) {
    const control_layout& c = by_id.at(b.id);
    EXPECT_EQ(c.bitmap, b.bitmap) << b.id;
    EXPECT_EQ(std::string(c.text), b.text) << b.id;
    EXPECT_EQ(std::string(c.tooltip), b.tip) << b.id;
  }
  EXPECT_EQ(by_id.at(103).kind, control_kind::page_button);
  EXPECT_EQ(std::string(by_id.at(105).tooltip), "Double click to Play Announcement");
  EXPECT_EQ(dialog_units_to_pixels(QRect(100, 4, 124, 16)), QRect(150, 6, 186, 26));
}

}  // namespace
}  // namespace zta::ui
