// Enter Autoplay Time: what it shows, what OK reads back, and that nothing else writes.
#include "ui/tod_dlg.hpp"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "tests/ui/modal_driver.hpp"

namespace zta::test {
namespace {

using ui::tod_dlg;

TEST(TodDlg, ShowsTheValueWithItsHint) {
  std::int32_t value = 25500;
  tod_dlg d(value);
  EXPECT_EQ(d.windowTitle(), "Enter Autoplay Time");
  EXPECT_EQ(d.edit()->text(), "07:05:00");
  bool hint = false;
  for (QLabel* l : d.findChildren<QLabel*>()) hint |= l->text() == "24 hour format: hh:mm:ss";
  EXPECT_TRUE(hint);
  std::int32_t zero = 0;
  EXPECT_EQ(tod_dlg(zero).edit()->text(), "00:00:00");
}

struct typed_case {
  const char* text;
  std::int32_t value;
};

TEST(TodDlg, OkReadsWhatWasTyped) {
  const typed_case cases[] = {
      {"7:05", 25500},
      {"", 0},
      {"1:30pm", 48600},
      {"24:00", 86400},
      // Only the first 38 characters are read: the minutes after them are not.
      {"10                                    :30", 36000},
  };
  for (const auto& c : cases) {
    std::int32_t value = 12345;
    tod_dlg d(value);
    d.edit()->setText(QString::fromLatin1(c.text));
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Accepted) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(TodDlg, CancelAndEscWriteNothing) {
  std::int32_t value = 3600;
  when_modal<tod_dlg>([](tod_dlg& d) {
    QTest::keyClicks(d.edit(), "9");
    d.reject();
  });
  EXPECT_FALSE(ui::enter_time(value, nullptr));
  EXPECT_EQ(value, 3600);
  when_modal<tod_dlg>([](tod_dlg& d) {
    QTest::keyClicks(d.edit(), "9");
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  EXPECT_FALSE(ui::enter_time(value, nullptr));
  EXPECT_EQ(value, 3600);
  when_modal<tod_dlg>([](tod_dlg& d) {
    d.edit()->selectAll();
    QTest::keyClicks(d.edit(), "9");
    QTest::keyClick(d.edit(), Qt::Key_Return);
  });
  EXPECT_TRUE(ui::enter_time(value, nullptr));
  EXPECT_EQ(value, 9 * 3600);
}

}  // namespace
}  // namespace zta::test
