#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QTest>

#include "tests/ui/qt_app.hpp"
#include "ui/lev_rect.hpp"

namespace zta::ui {
namespace {

class LevRectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::qt_app();
    ASSERT_TRUE(meter.show_at(QSize(90, 10)));
  }
  test::paint_recorder<lev_rect> meter;
};

TEST_F(LevRectTest, RepaintsOnlyTheChangedSpanAtOnceAndNothingForTheSameLevel) {
  EXPECT_EQ(meter.level(), -40);
  meter.set_level(-40);
  meter.set_level(-60);  // shows empty, like -40
  EXPECT_EQ(meter.paints, 0);
  meter.set_level(0);
  EXPECT_EQ(meter.paints, 1);  // synchronously, no event loop turn needed
  EXPECT_EQ(meter.last, QRect(0, 0, 60, 10));
  meter.set_level(0);
  EXPECT_EQ(meter.paints, 1);
  meter.set_level(99);
  EXPECT_EQ(meter.level(), 20);
  EXPECT_EQ(meter.last, QRect(60, 0, 30, 10));
}

TEST_F(LevRectTest, FullIsGreenThenRedAndEmptyIsBlack) {
  const QColor green(0, 255, 0), red(255, 0, 0), black(0, 0, 0);
  meter.set_level(20);
  QImage img = meter.grab().toImage();
  EXPECT_EQ(test::count_in_row(img, 5, green), 60);
  EXPECT_EQ(test::count_in_row(img, 5, red), 30);
  meter.set_level(-40);
  img = meter.grab().toImage();
  EXPECT_EQ(test::count_in_row(img, 5, black), 90);
}

}  // namespace
}  // namespace zta::ui
