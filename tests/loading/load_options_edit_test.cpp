#include <gtest/gtest.h>

#include <string>

#include "base/byte_codec.hpp"
#include "loading/load_options_edit.hpp"

namespace zta {
namespace {

TEST(LoadDialogControls, EachMethodEnablesOnlyItsOwnControls) {
  EXPECT_EQ(enabled_controls(load_method::disk), (load_method_controls{true, false, false, false}));
  EXPECT_EQ(enabled_controls(load_method::file), (load_method_controls{false, true, false, false}));
  EXPECT_EQ(enabled_controls(load_method::ftp), (load_method_controls{false, false, true, true}));
}

// Options as a shop has them: file method, a path, a server, the daily check on since long ago.
load_options stored_options() {
  load_options o = default_load_options(100);
  o.method = load_method::file;
  o.drive = 1;
  set_field_text(o.file_path, "/media/cdrom/pa12.vrx");
  set_field_text(o.ftp_server, "ftp.example");
  o.update_interval = daily_update_interval;
  o.last_success = 200;
  o.last_attempt = 300;
  o.ftp_stamp = 55;
  return o;
}

struct store_case {
  const char* name;
  load_dialog_state state;
  load_method method;
  int drive;
  const char* path;
  const char* server;
  std::int32_t interval;
  std::int32_t last_success;
  std::int32_t last_attempt;
};

TEST(LoadDialogStore, FieldsTheUserChangedAndTheDailyRule) {
  const store_case cases[] = {
      {"unchanged fields stay, daily off outside ftp",
       {load_method::file, 1, std::nullopt, std::nullopt, true},
       load_method::file,
       1,
       "/media/cdrom/pa12.vrx",
       "ftp.example",
       -1,
       200,
       300},
      {"ftp with the box ticked: a day, both times now",
       {load_method::ftp, 1, std::nullopt, std::nullopt, true},
       load_method::ftp,
       1,
       "/media/cdrom/pa12.vrx",
       "ftp.example",
       86400,
       9000,
       9000},
      {"ftp with the box clear: off, times kept",
       {load_method::ftp, 1, std::nullopt, std::string("ftp.other"), false},
       load_method::ftp,
       1,
       "/media/cdrom/pa12.vrx",
       "ftp.other",
       -1,
       200,
       300},
      {"disk from b: with a changed path",
       {load_method::disk, 0, std::string("/tmp/x.ann"), std::nullopt, false},
       load_method::disk,
       0,
       "/tmp/x.ann",
       "ftp.example",
       -1,
       200,
       300},
      {"no drive selection keeps the drive",
       {load_method::disk, -1, std::nullopt, std::nullopt, false},
       load_method::disk,
       1,
       "/media/cdrom/pa12.vrx",
       "ftp.example",
       -1,
       200,
       300},
      {"emptied fields are stored empty",
       {load_method::file, 1, std::string(), std::string(), false},
       load_method::file,
       1,
       "",
       "",
       -1,
       200,
       300},
  };
  for (const store_case& c : cases) {
    load_options o = stored_options();
    store_load_dialog(o, c.state, 9000);
    EXPECT_EQ(o.method, c.method) << c.name;
    EXPECT_EQ(o.drive, c.drive) << c.name;
    EXPECT_EQ(field_text(o.file_path), c.path) << c.name;
    EXPECT_EQ(field_text(o.ftp_server), c.server) << c.name;
    EXPECT_EQ(o.update_interval, c.interval) << c.name;
    EXPECT_EQ(o.last_success, c.last_success) << c.name;
    EXPECT_EQ(o.last_attempt, c.last_attempt) << c.name;
    EXPECT_EQ(o.ftp_stamp, 55) << c.name;
    EXPECT_EQ(o.min_retry, 6000) << c.name;
  }
}

TEST(LoadDialogStore, TypedFieldsAreReadUpTo126BytesLocatedFilesUpTo259) {
  load_options o = stored_options();
  std::string typed(200, 'p');
  typed[125] = '\xc3';  // a two-byte character across the limit
  typed[126] = '\xa9';
  store_load_dialog(o, {load_method::file, 0, typed, std::string(150, 's'), false}, 0);
  EXPECT_EQ(field_text(o.file_path), std::string(125, 'p'));
  EXPECT_EQ(field_text(o.ftp_server), std::string(126, 's'));
  store_located_path(o, "/" + std::string(300, 'l'));
  EXPECT_EQ(field_text(o.file_path).size(), 259u);
  store_located_path(o, "/srv/pa12.vrx");
  EXPECT_EQ(field_text(o.file_path), "/srv/pa12.vrx");
}

TEST(LoadDialogStore, DailyBoxIsTickedForAPositiveInterval) {
  load_options o = default_load_options(0);
  EXPECT_FALSE(daily_check_ticked(o));
  o.update_interval = 3600;
  EXPECT_TRUE(daily_check_ticked(o));
  o.update_interval = 0;
  EXPECT_FALSE(daily_check_ticked(o));
}

TEST(LocateFile, StartsInTheFolderOfThePathWithItsNamePreset) {
  EXPECT_EQ(locate_file_start("/media/cdrom/pa12.vrx", "/home/shop"),
            (locate_start{"/media/cdrom/", "pa12.vrx"}));
  EXPECT_EQ(locate_file_start("pa12.vrx", "/home/shop"), (locate_start{"/home/shop", "pa12.vrx"}));
  EXPECT_EQ(locate_file_start("", "/home/shop"), (locate_start{"/home/shop", ""}));
  EXPECT_EQ(locate_file_start("/media/cdrom/", "/x"), (locate_start{"/media/cdrom/", ""}));
}

}  // namespace
}  // namespace zta
