#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <vector>

#include "tests/ui/qt_app.hpp"
#include "ui/day_part_dlg.hpp"

namespace zta::ui {
namespace {

// Every control that edits the selected entry.
constexpr int editing_controls[] = {
    day_remove,
    day_from,
    day_to,
    day_monday,
    day_monday + 1,
    day_monday + 2,
    day_monday + 3,
    day_monday + 4,
    day_monday + 5,
    day_monday + 6,
    day_master_up,
    day_master_down,
    day_announcements_up,
    day_announcements_down,
    day_music_up,
    day_music_down,
    day_mic_up,
    day_mic_down,
};

class DayPartDlgTest : public ::testing::Test {
 protected:
  void open() {
    test::qt_app();
    dlg = std::make_unique<DayPartDlg>(settings, [this](int c) { helps.push_back(c); });
    dlg->show();
  }
  void add_entry(day_part_entry e) { settings.day_parts[settings.day_part_count++] = e; }
  QPushButton* button(int id) const { return static_cast<QPushButton*>(dlg->control(id)); }
  QLineEdit* edit(int id) const { return static_cast<QLineEdit*>(dlg->control(id)); }
  QCheckBox* weekday(int box) const {
    return static_cast<QCheckBox*>(dlg->control(day_monday + box));
  }
  void click(int id, int times = 1) const {
    for (int i = 0; i < times; ++i) QTest::mouseClick(button(id), Qt::LeftButton);
  }
  void type(int id, const QString& text) const {
    edit(id)->selectAll();
    QTest::keyClick(edit(id), Qt::Key_Delete);
    QTest::keyClicks(edit(id), text);
  }
  std::vector<QString> rows() const {
    std::vector<QString> out;
    out.reserve(static_cast<std::size_t>(dlg->rows()->count()));
    for (int i = 0; i < dlg->rows()->count(); ++i) out.push_back(dlg->rows()->item(i)->text());
    return out;
  }
  int enabled_editing_controls() const {
    int n = 0;
    for (int id : editing_controls) n += dlg->control(id)->isEnabled() ? 1 : 0;
    return n;
  }

  settings_block settings;
  std::unique_ptr<DayPartDlg> dlg;
  std::vector<int> helps;
};

TEST_F(DayPartDlgTest, EmptyTableEnablesOnlyAddAndOneAddGivesAnEditableWholeDay) {
  open();
  EXPECT_EQ(dlg->windowTitle(), "Day-Part Volume");
  EXPECT_EQ(dlg->rows()->currentRow(), -1);
  EXPECT_EQ(enabled_editing_controls(), 0);
  EXPECT_TRUE(button(day_add)->isEnabled());
  EXPECT_TRUE(button(day_ok)->isEnabled());
  click(day_add);
  EXPECT_EQ(rows(), std::vector<QString>{"00:00 - 24:00 0% 0% 0%"});
  EXPECT_EQ(dlg->rows()->currentRow(), 0);
  EXPECT_EQ(enabled_editing_controls(), static_cast<int>(std::size(editing_controls)));
  EXPECT_EQ(edit(day_from)->text(), "00:00");
  EXPECT_EQ(edit(day_to)->text(), "24:00");
  for (int box = 0; box < 7; ++box) EXPECT_TRUE(weekday(box)->isChecked()) << box;
  EXPECT_EQ(settings.day_part_count, 1);
  EXPECT_EQ(settings.day_parts[0], (day_part_entry{0, 0, 0, 127, 0, 1440}));
}

TEST_F(DayPartDlgTest, TheTwentyFifthAddDoesNothing) {
  open();
  click(day_add, 24);
  const settings_block full = settings;
  click(day_add);
  EXPECT_EQ(settings, full);
  EXPECT_EQ(dlg->rows()->count(), 24);
  EXPECT_EQ(dlg->rows()->currentRow(), 23);
}

TEST_F(DayPartDlgTest, MusicDownThreeTimesThenMasterUpShowsOneMinusTwoOne) {
  open();
  click(day_add);
  click(day_music_down, 3);
  EXPECT_EQ(rows()[0], "00:00 - 24:00 0% -3% 0%");
  click(day_master_up);
  EXPECT_EQ(rows()[0], "00:00 - 24:00 1% -2% 1%");
  EXPECT_EQ(settings.day_parts[0].music_adjust, -2);
  click(day_announcements_down, 2);
  click(day_mic_up);
  click(day_music_up);
  click(day_master_down);
  EXPECT_EQ(rows()[0], "00:00 - 24:00 -2% -2% 1%");
}

TEST_F(DayPartDlgTest, FromTypedAcrossMidnightStoresBothEnds) {
  add_entry({0, 0, 0, 127, 480, 360});
  open();
  EXPECT_EQ(edit(day_to)->text(), "06:00");
  type(day_from, "22:00");
  EXPECT_EQ(settings.day_parts[0].start, 1320);
  EXPECT_EQ(settings.day_parts[0].end, 360);
  EXPECT_EQ(rows()[0], "22:00 - 06:00 0% 0% 0%");
  EXPECT_EQ(dlg->rows()->currentRow(), 0);
  type(day_to, "7.5");
  EXPECT_EQ(settings.day_parts[0].end, 425);
  type(day_to, "x");
  EXPECT_EQ(settings.day_parts[0].end, 0);
  EXPECT_EQ(rows()[0], "22:00 - 00:00 0% 0% 0%");
}

TEST_F(DayPartDlgTest, RemovingTheLastSelectsTheNewLastAndTheOnlyLeavesNothing) {
  add_entry({1, 0, 0, 127, 0, 60});
  add_entry({2, 0, 0, 127, 60, 120});
  add_entry({3, 0, 0, 127, 120, 180});
  open();
  dlg->rows()->setCurrentRow(2);
  click(day_remove);
  EXPECT_EQ(rows(), (std::vector<QString>{"00:00 - 01:00 1% 0% 0%", "01:00 - 02:00 2% 0% 0%"}));
  EXPECT_EQ(dlg->rows()->currentRow(), 1);
  EXPECT_EQ(edit(day_from)->text(), "01:00");
  dlg->rows()->setCurrentRow(0);
  click(day_remove);  // the next moves into its place
  EXPECT_EQ(rows(), std::vector<QString>{"01:00 - 02:00 2% 0% 0%"});
  EXPECT_EQ(dlg->rows()->currentRow(), 0);
  EXPECT_EQ(settings.day_parts[0].announcement_adjust, 2);
  click(day_remove);
  EXPECT_TRUE(rows().empty());
  EXPECT_EQ(settings.day_part_count, 0);
  EXPECT_EQ(dlg->rows()->currentRow(), -1);
  EXPECT_EQ(enabled_editing_controls(), 0);
  EXPECT_EQ(edit(day_from)->text(), "");
  EXPECT_EQ(edit(day_to)->text(), "");
  for (int box = 0; box < 7; ++box) EXPECT_FALSE(weekday(box)->isChecked()) << box;
}

TEST_F(DayPartDlgTest, WeekdayBoxesSetTheirBitsAndTheSelectionShowsEachEntry) {
  add_entry({0, 0, 0, 127, 0, 1440});
  add_entry({0, 5, 0, 0x41, 600, 720});  // Saturday and Sunday
  open();
  QTest::mouseClick(weekday(6), Qt::LeftButton);  // Sun off
  EXPECT_EQ(settings.day_parts[0].weekdays, 126);
  QTest::mouseClick(weekday(0), Qt::LeftButton);  // Mon off
  EXPECT_EQ(settings.day_parts[0].weekdays, 124);
  EXPECT_EQ(rows()[0], "00:00 - 24:00 0% 0% 0%");
  dlg->rows()->setCurrentRow(1);
  EXPECT_EQ(edit(day_from)->text(), "10:00");
  EXPECT_EQ(edit(day_to)->text(), "12:00");
  for (int box = 0; box < 7; ++box) EXPECT_EQ(weekday(box)->isChecked(), box >= 5) << box;
  QTest::mouseClick(weekday(2), Qt::LeftButton);  // Wed on
  EXPECT_EQ(settings.day_parts[1].weekdays, 0x49);
  EXPECT_EQ(settings.day_parts[0].weekdays, 124);
}

TEST_F(DayPartDlgTest, AStoredCountAboveTwentyFourIsCutAndTheFirstRowSelected) {
  for (int i = 0; i < 24; ++i) add_entry({0, 0, 0, 127, static_cast<std::int16_t>(i * 60), 1440});
  settings.day_part_count = 30;
  open();
  EXPECT_EQ(settings.day_part_count, 24);
  EXPECT_EQ(dlg->rows()->count(), 24);
  EXPECT_EQ(dlg->rows()->currentRow(), 0);
  EXPECT_EQ(rows()[23], "23:00 - 24:00 0% 0% 0%");
}

TEST_F(DayPartDlgTest, EscapeClosesKeepingEveryChangeAndHelpOpensContext105) {
  open();
  click(day_add);
  click(day_mic_down);
  click(day_help);
  EXPECT_EQ(helps, std::vector<int>{105});
  QTest::keyClick(dlg.get(), Qt::Key_Escape);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_EQ(settings.day_part_count, 1);
  EXPECT_EQ(settings.day_parts[0].mic_adjust, -1);
}

}  // namespace
}  // namespace zta::ui
