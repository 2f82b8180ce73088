// Pictures of the window and the dialogs under a real X server (tests/app/screenshot.sh), into
// $ZTA_TEST_OUTPUT; docs/ keeps copies for the manual.
#include <QDir>
#include <QListWidget>
#include <QTest>

#include "announcements/owner_file.hpp"
#include "app/main_frame.hpp"
#include "base/byte_codec.hpp"
#include "platform/sim/memory_startup_registry.hpp"
#include "tests/app/app_test_env.hpp"
#include "tests/common/picture_checks.hpp"
#include "ui/customer_dlg.hpp"
#include "ui/day_part_dlg.hpp"
#include "ui/edit_dlg.hpp"
#include "ui/loadoptsdlg.hpp"
#include "ui/set_dlg.hpp"

namespace zta::test {
namespace {

class Screenshot : public app_fixture {};

// Shows `w` and saves a picture of it into $ZTA_TEST_OUTPUT as `name`, which must show it drawn.
void save_picture(QWidget& w, const char* name) {
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTest::qWait(200);
  const char* env = std::getenv("ZTA_TEST_OUTPUT");
  QString folder =
      env != nullptr && *env != '\0' ? QString::fromLocal8Bit(env) : QStringLiteral(ZTA_BINARY_DIR);
  QDir().mkpath(folder);
  const QString file = folder + "/" + name;
  ASSERT_TRUE(w.grab().save(file)) << file.toStdString();
  expect_drawn_picture(file, w);
}

// Saves a picture of the window with a few announcements into $ZTA_TEST_OUTPUT.
TEST_F(Screenshot, MainWindow) {
  add_announcement("Shop Opening", 0).script =
      "Good morning and welcome. Our shop is now open: today's fresh bread is on aisle two.";
  add_announcement("Closing in 15 minutes", 1);
  add_announcement("Lost Child", 2).confirm = 1;
  add_announcement("Special Offer", 3);
  main_frame frame(*ctx, box_fn());
  frame.client()->fill_list();
  save_picture(frame, "main_window.png");
}

TEST_F(Screenshot, Dialogs) {
  settings_block s;
  s.music_device = 0;
  s.sequence_interval = 5;
  set_field_text(s.control_folder, "/srv/share/zta");
  s.day_parts[0] = {-10, 0, 0, 0x3E, 420, 540};
  s.day_parts[1] = {0, 10, 5, 0x40, 780, 1080};
  s.day_parts[2] = {0, -5, 0, 127, 1200, 1440};
  s.day_part_count = 3;
  owner_block owner;
  owner.set_customer_number(4711);
  set_owner_text(owner, "Corner Shop, Main Street");
  memory_startup_registry registry;
  registry.logon = true;
  ui::device_lists devices{{"Built-in Audio Analog Stereo", "USB Audio Device"},
                           {"Built-in Audio Analog Stereo"},
                           {"HDA Intel PCH: Line", "HDA Intel PCH: Mic"}};
  {
    ui::SetDlg d(s, owner, devices, {&registry, {}, {}});
    save_picture(d, "settings-dialog.png");
  }
  {
    ui::DayPartDlg d(s, {});
    d.rows()->setCurrentRow(1);
    save_picture(d, "day-part-dialog.png");
  }
  {
    load_options o = default_load_options(0);
    o.method = load_method::file;
    set_field_text(o.file_path, "/media/cdrom/pa4711.vrx");
    ui::loadoptsdlg d(o, {});
    save_picture(d, "load-dialog.png");
  }
  {
    ui::customer_dlg d(owner, {});
    save_picture(d, "customer-dialog.png");
  }
}

// The Announcement Control dialog with an announcement shown.
TEST_F(Screenshot, AnnouncementControl) {
  ann_blk& a = add_announcement("Shop Opening", 0);
  a.script = "Good morning and welcome. Our shop is now open: today's fresh bread is on aisle two.";
  a.fixed_times = {9 * 3600, 12 * 3600 + 30 * 60};
  a.day_from = 8 * 3600;
  a.day_to = 20 * 3600;
  a.weekdays = 0x7E;
  a.chimes = 1;
  a.manual = 1;
  a.user_made = 1;
  add_announcement("Closing in 15 minutes", 1).autoplay = -1;
  add_announcement("Lost Child", 2).confirm = 1;
  add_announcement("Special Offer", 3).autoplay = 30;
  ui::edit_hooks hooks;
  hooks.box = box_fn();
  ui::edit_dlg dlg(ctx->st, ui::edit_devices{}, hooks, 0);
  save_picture(dlg, "announcement-control-dialog.png");
}

}  // namespace
}  // namespace zta::test
