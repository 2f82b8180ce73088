#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "tests/ui/qt_app.hpp"
#include "ui/ldb_edit.hpp"
#include "ui/ldb_geometry.hpp"

namespace zta::ui {
namespace {

class LdbEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::qt_app();
    edit.resize(128, 20);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
  }
  LDBEdit edit;
};

TEST_F(LdbEditTest, DraggingBeyondEitherEndGivesExactlyZeroOrHundred) {
  QSignalSpy changed(&edit, &LDBEdit::levelChanged);
  QTest::mousePress(&edit, Qt::LeftButton, {}, QPoint(60, 10));
  EXPECT_EQ(edit.value(), 32);
  EXPECT_GE(changed.count(), 1);
  EXPECT_TRUE(edit.box()->hasFocus());
  QTest::mouseMove(&edit, QPoint(-40, 10));
  EXPECT_EQ(edit.value(), 0);
  EXPECT_EQ(edit.box()->text(), "0%");
  QTest::mouseMove(&edit, QPoint(400, 10));
  EXPECT_EQ(edit.value(), 100);
  EXPECT_EQ(edit.box()->text(), "100%");
  QTest::mouseRelease(&edit, Qt::LeftButton, {}, QPoint(400, 10));
  QTest::mouseMove(&edit, QPoint(50, 10));  // no longer dragging
  EXPECT_EQ(edit.value(), 100);
}

TEST_F(LdbEditTest, TypedValueIsLimitedWhileTheBoxKeepsWhatWasTyped) {
  QSignalSpy changed(&edit, &LDBEdit::levelChanged);
  const struct {
    const char* typed;
    int value;
  } cases[] = {{"150", 100}, {"abc", 0}, {"42", 42}};
  for (const auto& c : cases) {
    edit.box()->clear();
    changed.clear();
    QTest::keyClicks(edit.box(), c.typed);
    EXPECT_EQ(edit.value(), c.value) << c.typed;
    EXPECT_EQ(edit.box()->text(), c.typed);
    EXPECT_EQ(changed.count(), static_cast<int>(strlen(c.typed)));  // one per text change
  }
}

TEST_F(LdbEditTest, SetValueRewritesTheBoxAndLimits) {
  QSignalSpy changed(&edit, &LDBEdit::levelChanged);
  edit.set_value(200);
  EXPECT_EQ(edit.value(), 100);
  EXPECT_EQ(edit.box()->text(), "100%");
  EXPECT_EQ(changed.count(), 1);
  edit.set_value(7);
  EXPECT_EQ(edit.box()->text(), "7%");
  EXPECT_EQ(edit.box()->geometry(), QRect(0, 0, 28, 20));
}

TEST_F(LdbEditTest, FocusGoesToTheBoxWithTheWholeValueSelected) {
  edit.set_value(65);
  edit.activateWindow();
  edit.setFocus(Qt::TabFocusReason);
  QCoreApplication::processEvents();
  EXPECT_TRUE(edit.box()->hasFocus());
  EXPECT_EQ(edit.box()->selectedText(), "65%");
}

TEST_F(LdbEditTest, PaintedBarShowsRedOnlyAboveEighty) {
  edit.resize(1028, 20);  // a 1000-pixel bar: x(v) = 28 + 10 v
  const QColor red(196, 0, 0), green(0, 128, 0);
  edit.set_value(80);
  QImage img = edit.grab().toImage();
  EXPECT_EQ(test::count_in_row(img, 10, red), 0);
  EXPECT_GT(test::count_in_row(img, 10, green), 790);
  edit.set_value(81);
  img = edit.grab().toImage();
  const int reds = test::count_in_row(img, 10, red);
  EXPECT_GT(reds, 0);
  for (int x = 0; x < img.width(); ++x) {
    if (QColor(img.pixel(x, 10)) == red) {
      EXPECT_TRUE(x >= 828 && x < 838) << x;
    }
  }
  edit.setEnabled(false);
  img = edit.grab().toImage();
  EXPECT_EQ(test::count_in_row(img, 10, red), 0);
  EXPECT_EQ(test::count_in_row(img, 10, green), 0);
  EXPECT_FALSE(edit.box()->isEnabled());
}

}  // namespace
}  // namespace zta::ui
