#include <gtest/gtest.h>

#include <filesystem>

#include "audio/device_memory.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

using test::temp_folder;

std::string text_of(const std::vector<std::uint8_t>& b) {
  return {b.begin(), b.end()};
}

TEST(DeviceMemory, KeepsTheChosenNamesAndFindsThemAgainAfterARenumbering) {
  temp_folder dir;
  settings_block s;
  s.sound_out_device = 1;
  s.audition_device = 0;
  s.record_device = -1;  // none: nothing kept
  s.music_device = 0;
  s.mic_device = 1;
  sound_device_lists lists{{"default", "USB Card"}, {"default"}, {"USB: Line", "USB: Mic"}};
  {
    device_memory m(dir.path());
    EXPECT_FALSE(m.has_names());
    EXPECT_TRUE(m.start(s, lists).empty());  // no file yet: the present choice is kept
  }
  EXPECT_EQ(text_of(dir.read(device_names_file)),
            "sound-out\tUSB Card\naudition\tdefault\nmusic\tUSB: Line\nmicrophone\tUSB: Mic\n");

  device_memory m(dir.path());  // the next start reads them back
  ASSERT_TRUE(m.has_names());
  lists = {{"default", "HDMI", "USB Card"}, {"default"}, {"HDA: Line", "USB: Mic", "USB: Line"}};
  auto changes = m.start(s, lists);
  ASSERT_EQ(changes.size(), 2u);  // the microphone is still where it was
  EXPECT_EQ(changes[0].text(), "sound-out device \"USB Card\" found again as number 2 (was 1)");
  EXPECT_EQ(changes[1].text(), "music line \"USB: Line\" found again as number 2 (was 0)");
  EXPECT_EQ(s.sound_out_device, 2);
  EXPECT_EQ(s.music_device, 2);
  EXPECT_EQ(s.audition_device, 0);
  EXPECT_EQ(s.mic_device, 1);
  EXPECT_EQ(s.record_device, -1);
}

TEST(DeviceMemory, ACardThatIsNowhereOrAnIndexPastTheListIsHandled) {
  temp_folder dir;
  settings_block s;
  s.sound_out_device = 1;
  device_memory m(dir.path());
  ASSERT_TRUE(m.remember(s, {{"default", "USB Card"}, {}, {}}));
  static constexpr device_role out[] = {device_role::sound_out};
  // Unplugged: the list is shorter, the name is nowhere; the choice stays for when it returns.
  EXPECT_TRUE(m.find_again(s, {{"default"}, {}, {}}, out).empty());
  EXPECT_EQ(s.sound_out_device, 1);
  // Back, past where it was.
  auto c = m.find_again(s, {{"default", "HDMI", "Dock", "USB Card"}, {}, {}}, out);
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(s.sound_out_device, 3);
}

TEST(DeviceMemory, AFileThatCannotBeWrittenOrReadIsNoHarm) {
  temp_folder dir;
  // A name with the file's separators is not kept; a foreign line is skipped on reading.
  dir.write(device_names_file, std::string("sound-out\tUSB Card\ngarbage\nmusic\t\n\n"));
  device_memory m(dir.path());
  ASSERT_EQ(m.names().size(), 1u);
  EXPECT_EQ(m.names().at(device_role::sound_out), "USB Card");
  settings_block s;
  s.sound_out_device = 0;
  device_memory gone("/nonexistent/zta/");
  EXPECT_FALSE(gone.remember(s, {{"Tab\tName"}, {}, {}}) && gone.has_names());
  EXPECT_FALSE(gone.remember(s, {{"USB Card"}, {}, {}}));
  EXPECT_FALSE(gone.has_names());
}

}  // namespace
}  // namespace zta
