#include <QDir>
#include <QTest>

#include "app/main_frame.hpp"
#include "tests/app/app_test_env.hpp"
#include "ui/edit_dlg.hpp"

namespace zta::test {
namespace {

class Screenshot : public app_fixture {
 protected:
  static QString output_folder() {
    const char* env = std::getenv("ZTA_TEST_OUTPUT");
    QString folder = env != nullptr && *env != '\0' ? QString::fromLocal8Bit(env)
                                                    : QStringLiteral(ZTA_BINARY_DIR);
    QDir().mkpath(folder);
    return folder;
  }
};

// Saves a picture of the window with a few announcements into $ZTA_TEST_OUTPUT.
TEST_F(Screenshot, MainWindow) {
  add_announcement("Shop Opening", 0).script =
      "Good morning and welcome. Our shop is now open: today's fresh bread is on aisle two.";
  add_announcement("Closing in 15 minutes", 1);
  add_announcement("Lost Child", 2).confirm = 1;
  add_announcement("Special Offer", 3);
  main_frame frame(*ctx, box_fn());
  frame.client()->fill_list();
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  QTest::qWait(200);
  QString file = output_folder() + "/main_window.png";
  ASSERT_TRUE(frame.grab().save(file)) << file.toStdString();
}

// The Announcement Control dialog with an announcement shown (docs/announcement_control.png).
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
  dlg.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
  QTest::qWait(200);
  QString file = output_folder() + "/announcement_control.png";
  ASSERT_TRUE(dlg.grab().save(file)) << file.toStdString();
}

}  // namespace
}  // namespace zta::test
