#include <gtest/gtest.h>

#include <QPaintEvent>
#include <QTest>

#include "tests/ui/qt_app.hpp"
#include "ui/progbar.hpp"
#include "ui/progbar_geometry.hpp"

namespace zta::ui {
namespace {

class ProgbarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::qt_app();
    ASSERT_TRUE(bar.show_at(QSize(200, 12)));
  }
  test::paint_recorder<progbar> bar;
};

TEST_F(ProgbarTest, RepaintsOnlyTheStripBetweenTheOldAndNewBoundaryAtOnce) {
  bar.set_percent(0);
  EXPECT_EQ(bar.paints, 0);
  bar.set_percent(25);
  EXPECT_EQ(bar.paints, 1);  // synchronously, no event loop turn needed
  EXPECT_EQ(bar.last, QRect(0, 0, 50, 12));
  bar.set_percent(25);
  EXPECT_EQ(bar.paints, 1);
  bar.set_percent(26);  // 52: two columns
  EXPECT_EQ(bar.last, QRect(50, 0, 2, 12));
  bar.set_percent(250);
  EXPECT_EQ(bar.percent(), 100);
  EXPECT_EQ(bar.last, QRect(52, 0, 148, 12));
  bar.set_percent(100);
  EXPECT_EQ(bar.paints, 3);
}

TEST_F(ProgbarTest, BlueUpToTheBoundaryAndWhiteAfter) {
  const QColor blue(0, 0, 255), white(255, 255, 255);
  struct shown {
    int percent, blue_columns;
  };
  for (const shown s : {shown{0, 0}, shown{33, 66}, shown{100, 200}}) {
    bar.set_percent(s.percent);
    const QImage img = bar.grab().toImage();
    EXPECT_EQ(test::count_in_row(img, 6, blue), s.blue_columns) << s.percent;
    EXPECT_EQ(test::count_in_row(img, 6, white), 200 - s.blue_columns) << s.percent;
  }
}

TEST(ProgbarGeometry, PercentagesAreLimitedAndTheBoundaryRoundsDown) {
  EXPECT_EQ(progress::limit_percent(-5), 0);
  EXPECT_EQ(progress::limit_percent(101), 100);
  EXPECT_EQ(progress::boundary_x(33, 10), 3);
  EXPECT_TRUE(progress::changed_span(40, 41, 10).empty());  // both at column 4
  EXPECT_EQ(progress::paint(50, 10, 0), paint_list{});
}

}  // namespace
}  // namespace zta::ui
