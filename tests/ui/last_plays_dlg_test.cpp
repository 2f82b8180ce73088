#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "announcements/calendar.hpp"
#include "announcements/missed_log.hpp"
#include "announcements/play_log.hpp"
#include "tests/common/temp_folder.hpp"
#include "tests/ui/qt_app.hpp"
#include "ui/last_plays_dlg.hpp"

namespace zta::ui {
namespace {

TEST(LastPlaysDlg, ListsTheMonthsPlaysAndMissesNewestFirst) {
  test::qt_app();
  zta::test::temp_folder dir;
  const std::int32_t t = *make_moment({2023, 11, 14, 10, 31, 0, 0});
  station st(dir.path(), t);
  ann_blk a;
  a.set_name("Fixed");
  log_play(st, a);  // the program's own log line
  const missed_log missed(dir.path());
  missed.record(t + 3600, "Hourly", play_trigger::every_minutes, missed_reason::device_open_failed,
                60);
  // Another month's files are not this month's.
  const std::int32_t december = *make_moment({2023, 12, 1, 0, 0, 0, 0});
  missed.record(december, "Later", play_trigger::manual, missed_reason::confirm_declined);

  std::int32_t now = t + 7200;
  last_plays_dlg dlg(dir.path(), [&now] { return now; });
  dlg.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
  ASSERT_EQ(dlg.list()->count(), 2);
  EXPECT_EQ(dlg.list()->item(0)->text().toStdString(),
            "2023-11-14 11:31:00  Hourly  missed (every 60 minutes): device failed to open");
  EXPECT_EQ(dlg.list()->item(1)->text().toStdString(), "2023-11-14 10:31  Fixed  played");

  // Refresh reads the files again, for the month it is now.
  now = december;
  for (QPushButton* b : dlg.findChildren<QPushButton*>()) {
    if (b->text() == "&Refresh") QTest::mouseClick(b, Qt::LeftButton);
  }
  ASSERT_EQ(dlg.list()->count(), 1);
  EXPECT_EQ(dlg.list()->item(0)->text().toStdString(),
            "2023-12-01 00:00:00  Later  missed (manual): confirm box declined");
}

}  // namespace
}  // namespace zta::ui
