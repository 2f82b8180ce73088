#include <gtest/gtest.h>

#include <QTest>

#include "tests/ui/qt_app.hpp"
#include "ui/logo_win.hpp"
#include "ui/resource_paths.hpp"
#include "ui/tooltip.hpp"

namespace zta::ui {
namespace {

TEST(LogoWin, CentredOnTheDesktop) {
  EXPECT_EQ(logo_win_position(QRect(0, 0, 1024, 768)), QPoint(382, 254));
  EXPECT_EQ(logo_win_position(QRect(1920, 0, 1280, 1024)), QPoint(1920 + 510, 382));
}

TEST(LogoWin, ShowsTheLogoInsideTheFrameAndHidesOnALeftClick) {
  test::qt_app();
  logo_win logo;
  logo.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&logo));
  EXPECT_EQ(logo.size(), QSize(260, 260));
  const QImage shown = logo.grab().toImage();
  const QImage picture(bitmap_path(logo_bitmap));
  for (QPoint p : {QPoint(0, 0), QPoint(128, 128), QPoint(255, 255), QPoint(40, 200)}) {
    EXPECT_EQ(QColor(shown.pixel(p + QPoint(2, 2))), QColor(picture.pixel(p))) << p.x();
  }
  QTest::mouseClick(&logo, Qt::RightButton, {}, QPoint(100, 100));
  EXPECT_TRUE(logo.isVisible());
  QTest::mouseClick(&logo, Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_FALSE(logo.isVisible());
}

TEST(Tooltip, ToolsShowTheirTextEvenWhenTheWindowIsInactive) {
  test::qt_app();
  QWidget window;
  QWidget* button = new QWidget(&window);
  TTooltip tips(&window);
  tips.add_tool(button, "Play Selected Announcement");
  EXPECT_EQ(button->toolTip(), "Play Selected Announcement");
  EXPECT_EQ(tips.tool_count(), 1);
  EXPECT_TRUE(window.testAttribute(Qt::WA_AlwaysShowToolTips));
}

}  // namespace
}  // namespace zta::ui
