#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "announcements/calendar.hpp"
#include "announcements/play_log.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

using test::temp_folder;

std::string text_of(const std::vector<std::uint8_t>& b) {
  return {b.begin(), b.end()};
}

TEST(PlayLog, FileNamesByMonth) {
  EXPECT_EQ(log_file_name(*make_moment({1999, 12, 31, 23, 0, 0, 0})), "log1299.txt");
  EXPECT_EQ(log_file_name(*make_moment({2001, 3, 7, 0, 0, 0, 0})), "log0301.txt");
}

TEST(PlayLog, HeaderThenOneLinePerPlay) {
  temp_folder dir;
  station st(dir.path(), *make_moment({2001, 3, 7, 14, 5, 0, 0}));
  ann_blk a;
  a.set_name("Specials");
  log_play(st, a);
  st.clock.set(st.clock.now + 30);
  log_play(st, a);
  ann_blk long_name;
  long_name.set_name("A name with spaces, 31 bytes...");
  log_play(st, long_name);
  const std::string expected =
      "ZTA Announcement Player Log\r\n"
      "yy/mm/dd - hh:mm Announcement Name\r\n" +
      std::string(52, '-') +
      "\r\n"
      "01/03/07 - 14:05 Specials\r\n"
      "01/03/07 - 14:05 Specials\r\n"
      "01/03/07 - 14:05 A name with spaces, 31 bytes...\r\n";
  EXPECT_EQ(std::strlen(log_header), 119u);
  EXPECT_EQ(text_of(dir.read("log0301.txt")), expected);
}

TEST(PlayLog, NewMonthAndDeletedFileStartWithAHeader) {
  temp_folder dir;
  station st(dir.path(), *make_moment({2001, 3, 31, 23, 59, 0, 0}));
  ann_blk a;
  a.set_name("X");
  log_play(st, a);
  st.clock.set(st.clock.now + 120);
  log_play(st, a);
  EXPECT_EQ(text_of(dir.read("log0401.txt")), std::string(log_header) + "01/04/01 - 00:01 X\r\n");
  std::filesystem::remove(dir.file("log0401.txt"));
  log_play(st, a);
  EXPECT_EQ(text_of(dir.read("log0401.txt")), std::string(log_header) + "01/04/01 - 00:01 X\r\n");
}

// Unwritable even for root: a folder that is a regular file, and a month's log that is a folder.
// Nothing is written, nothing is said, and the log works again once the way is clear.
TEST(PlayLog, AnUnwritableFolderIsSilent) {
  temp_folder dir;
  ann_blk a;
  a.set_name("Specials");
  const std::int32_t at = *make_moment({2001, 3, 7, 14, 5, 0, 0});
  dir.write("plain", std::string("not a folder"));
  station under_a_file(dir.file("plain") + "/", at);
  std::filesystem::create_directory(dir.file("log0301.txt"));
  station log_is_a_folder(dir.path(), at);

  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  log_play(under_a_file, a);
  log_play(log_is_a_folder, a);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(text_of(dir.read("plain")), "not a folder");
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("log0301.txt")));
  EXPECT_TRUE(std::filesystem::is_empty(dir.file("log0301.txt")));
  EXPECT_EQ(dir.names().size(), 2u);

  std::filesystem::remove(dir.file("log0301.txt"));
  log_play(log_is_a_folder, a);
  EXPECT_EQ(text_of(dir.read("log0301.txt")),
            std::string(log_header) + "01/03/07 - 14:05 Specials\r\n");
}

}  // namespace
}  // namespace zta
