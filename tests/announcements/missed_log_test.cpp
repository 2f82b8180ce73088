#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "announcements/calendar.hpp"
#include "announcements/missed_log.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

using test::temp_folder;

std::string text_of(const std::vector<std::uint8_t>& b) {
  return {b.begin(), b.end()};
}

std::int32_t at(int y, int mo, int d, int h, int mi, int s) {
  return *make_moment({y, mo, d, h, mi, s, 0});
}

TEST(MissedLog, FileNamesAndTexts) {
  EXPECT_EQ(missed_file_name(at(1999, 12, 31, 23, 0, 0)), "missed1299.txt");
  EXPECT_EQ(missed_file_name(at(2001, 3, 7, 0, 0, 0)), "missed0301.txt");
  EXPECT_EQ(trigger_text(play_trigger::every_minutes, 15), "every 15 minutes");
  EXPECT_EQ(trigger_text(play_trigger::fixed_time), "fixed time");
  EXPECT_EQ(schedule_trigger(0), play_trigger::fixed_time);
  EXPECT_EQ(schedule_trigger(30), play_trigger::every_minutes);
  EXPECT_EQ(reason_text(missed_reason::confirm_declined), "confirm box declined");
  EXPECT_EQ(reason_text(static_cast<missed_reason>(200)), "unknown");
}

TEST(MissedLog, HeaderThenOneLinePerEventAndNewMonthNewFile) {
  temp_folder dir;
  const missed_log log(dir.path());
  log.record(at(2001, 3, 7, 14, 5, 9), "Specials", play_trigger::every_minutes,
             missed_reason::device_open_failed, 30);
  log.record(at(2001, 3, 7, 14, 5, 9), "Tab\tin\r\nname", play_trigger::remote,
             missed_reason::clip_missing);
  log.note(at(2001, 3, 31, 23, 59, 59), note_clock, "clock set forward");
  log.record(at(2001, 4, 1, 0, 0, 0), "X", "manual", "stopped by the user");
  EXPECT_EQ(text_of(dir.read("missed0301.txt")),
            std::string(missed_header) +
                "01/03/07 - 14:05:09\tSpecials\tevery 30 minutes\tdevice failed to open\r\n"
                "01/03/07 - 14:05:09\tTab in  name\tremote\tclip missing or unreadable\r\n"
                "01/03/31 - 23:59:59\t\tclock\tclock set forward\r\n");
  EXPECT_EQ(text_of(dir.read("missed0401.txt")),
            std::string(missed_header) + "01/04/01 - 00:00:00\tX\tmanual\tstopped by the user\r\n");
  // A deleted file comes back with its header.
  std::filesystem::remove(dir.file("missed0401.txt"));
  log.record(at(2001, 4, 1, 0, 0, 1), "X", play_trigger::manual, missed_reason::stopped_by_user);
  EXPECT_EQ(text_of(dir.read("missed0401.txt")).substr(0, std::strlen(missed_header)),
            missed_header);
}

TEST(MissedLog, ReadsBackWhatItWroteAndSkipsTheRest) {
  temp_folder dir;
  const missed_log log(dir.path());
  log.record(at(1999, 12, 1, 8, 0, 0), "Late", play_trigger::sequence, missed_reason::no_device);
  log.note(at(1999, 12, 1, 9, 0, 0), note_device, "found again");
  // A torn last line (a write cut off) and foreign lines are not events.
  std::string text = text_of(dir.read("missed1299.txt"));
  text += "99/13/01 - 08:00:00\tBad month\tmanual\tx\r\n";
  text += "99/12/01 - 08:00\tNo seconds\tmanual\tx\r\n";
  text += "99/12/01 - 10:00:00\tTorn\tman";
  dir.write("missed1299.txt", text);
  auto entries = read_missed_file(dir.file("missed1299.txt"), at(1999, 11, 1, 0, 0, 0));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].when, at(1999, 12, 1, 8, 0, 0));
  EXPECT_EQ(entries[0].name, "Late");
  EXPECT_EQ(entries[0].trigger, "sequence");
  EXPECT_EQ(entries[0].reason, "no sound-out device");
  EXPECT_FALSE(entries[0].is_note());
  EXPECT_TRUE(entries[1].is_note());
  // The century is the one nearest the moment given.
  auto old = parse_missed_line("99/12/01 - 08:00:00\ta\tb\tc\r\n", at(2030, 1, 1, 0, 0, 0));
  ASSERT_TRUE(old);
  EXPECT_EQ(break_moment(old->when).year, 1999);
  auto recent = parse_missed_line("01/12/01 - 08:00:00\ta\tb\tc\r\n", at(1999, 1, 1, 0, 0, 0));
  ASSERT_TRUE(recent);
  EXPECT_EQ(break_moment(recent->when).year, 2001);
}

TEST(MissedLog, AnUnwritableFolderOrNoFolderIsSilent) {
  const missed_log none;
  EXPECT_FALSE(none.enabled());
  none.record(0, "X", play_trigger::manual, missed_reason::no_device);
  const missed_log gone("/nonexistent/zta/");
  gone.record(0, "X", play_trigger::manual, missed_reason::no_device);
  EXPECT_TRUE(read_missed_file("/nonexistent/zta/missed0170.txt", 0).empty());
}

}  // namespace
}  // namespace zta
