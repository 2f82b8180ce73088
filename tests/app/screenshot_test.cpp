#include <QDir>
#include <QTest>

#include "app/main_frame.hpp"
#include "tests/app/app_test_env.hpp"

namespace zta::test {
namespace {

class Screenshot : public app_fixture {};

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
  const char* env = std::getenv("ZTA_TEST_OUTPUT");
  QString folder =
      env != nullptr && *env != '\0' ? QString::fromLocal8Bit(env) : QStringLiteral(ZTA_BINARY_DIR);
  QDir().mkpath(folder);
  QString file = folder + "/main_window.png";
  ASSERT_TRUE(frame.grab().save(file)) << file.toStdString();
}

}  // namespace
}  // namespace zta::test
