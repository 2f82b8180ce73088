#include <gtest/gtest.h>

#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "tests/ui/qt_app.hpp"
#include "ui/btn_bitmap.hpp"
#include "ui/my_glyph.hpp"
#include "ui/page_glyph.hpp"
#include "ui/resource_paths.hpp"

namespace zta::ui {
namespace {

TEST(GlyphBitmaps, EveryGlyphIsA16By16SixteenColourPictureOnLightGray) {
  test::qt_app();
  for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 10}) {
    const QImage img(bitmap_path(n));
    ASSERT_FALSE(img.isNull()) << n;
    EXPECT_EQ(img.size(), QSize(16, 16)) << n;
    QSet<QRgb> colours;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) colours.insert(img.pixel(x, y));
    EXPECT_LE(colours.size(), 16) << n;
    EXPECT_GE(colours.size(), 2) << n;
    EXPECT_EQ(img.pixel(0, 0), qRgb(192, 192, 192)) << n;

    const TBtnBitmap bitmap(n, QColor(10, 20, 30));
    EXPECT_EQ(bitmap.pixmap().toImage().pixel(0, 0), qRgb(10, 20, 30)) << n;
  }
  const QImage logo(bitmap_path(logo_bitmap));
  EXPECT_EQ(logo.size(), QSize(256, 256));
  EXPECT_FALSE(app_icon().pixmap(16, 16).isNull());
}

TEST(GlyphBitmaps, OnlyExactLightGrayTakesTheFaceColour) {
  QImage img(3, 1, QImage::Format_RGB32);
  img.setPixel(0, 0, qRgb(192, 192, 192));
  img.setPixel(1, 0, qRgb(192, 192, 191));
  img.setPixel(2, 0, qRgb(128, 128, 128));
  const QImage out = replace_face_colour(img, QColor(1, 2, 3));
  EXPECT_EQ(out.pixel(0, 0), qRgb(1, 2, 3));
  EXPECT_EQ(out.pixel(1, 0), qRgb(192, 192, 191));
  EXPECT_EQ(out.pixel(2, 0), qRgb(128, 128, 128));
}

TEST(GlyphButton, FrameLookAndShownText) {
  EXPECT_EQ(glyph_frame_look(true, false, false), frame_look::flat);
  EXPECT_EQ(glyph_frame_look(true, true, false), frame_look::raised);
  EXPECT_EQ(glyph_frame_look(true, false, true), frame_look::sunken);
  EXPECT_EQ(glyph_frame_look(false, false, false), frame_look::raised);
  EXPECT_EQ(glyph_frame_look(false, false, true), frame_look::sunken);
  EXPECT_EQ(strip_mnemonic("&Play Announcement"), "Play Announcement");
  EXPECT_EQ(strip_mnemonic("A&nnouncement Control"), "Announcement Control");
  EXPECT_EQ(strip_mnemonic("Fish && Chips"), "Fish & Chips");
  EXPECT_EQ(strip_mnemonic("end&"), "end");
}

class HotTrackingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::qt_app();
    auto* layout = new QVBoxLayout(&panel);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(10);
    layout->addWidget(play = new TMyGlyph(7, "&Play Announcement"));
    layout->addWidget(stop = new TMyGlyph(8, "Stop"));
    panel.resize(220, 110);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  }
  QWidget panel;
  TMyGlyph* play = nullptr;
  TMyGlyph* stop = nullptr;
};

TEST_F(HotTrackingTest, FlatUntilHoveredAndAtMostOneFramed) {
  const QColor face = play->palette().color(QPalette::Button);
  EXPECT_EQ(play->current_look(), frame_look::flat);
  EXPECT_EQ(QColor(play->grab().toImage().pixel(0, 0)), face);  // no frame drawn

  QTest::mouseMove(&panel, play->geometry().center());
  EXPECT_TRUE(play->is_hot());
  EXPECT_EQ(play->current_look(), frame_look::raised);
  EXPECT_NE(QColor(play->grab().toImage().pixel(0, 0)), face);

  QTest::mouseMove(&panel, stop->geometry().center());  // straight to the next one
  EXPECT_FALSE(play->is_hot());
  EXPECT_TRUE(stop->is_hot());

  QTest::mouseMove(&panel, QPoint(2, 2));
  EXPECT_FALSE(play->is_hot());
  EXPECT_FALSE(stop->is_hot());
}

TEST_F(HotTrackingTest, PressedShowsSunkenAndClickStillWorks) {
  QSignalSpy clicked(play, &QPushButton::clicked);
  QTest::mouseMove(&panel, play->geometry().center());
  QTest::mousePress(play, Qt::LeftButton, {}, play->rect().center());
  EXPECT_EQ(play->current_look(), frame_look::sunken);
  QTest::mouseRelease(play, Qt::LeftButton, {}, play->rect().center());
  EXPECT_EQ(clicked.count(), 1);
}

TEST(PageGlyph, PressAndReleaseStartAndStopThePage) {
  test::qt_app();
  TPageGlyph page(6, "&Microphone Page");
  page.resize(200, 24);
  page.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
  QSignalSpy start(&page, &TPageGlyph::pageStart);
  QSignalSpy stop(&page, &TPageGlyph::pageStop);

  QTest::mousePress(&page, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(start.count(), 1);
  EXPECT_EQ(stop.count(), 0);
  EXPECT_TRUE(page.isDown());
  QTest::mousePress(&page, Qt::LeftButton, {}, QPoint(10, 10));  // a key repeat presses again
  EXPECT_EQ(start.count(), 2);
  QTest::mouseRelease(&page, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(stop.count(), 1);

  QTest::mousePress(&page, Qt::RightButton, {}, QPoint(10, 10));
  QTest::mouseRelease(&page, Qt::RightButton, {}, QPoint(10, 10));
  EXPECT_EQ(start.count(), 2);
  EXPECT_EQ(stop.count(), 1);

  // Hidden while held: the page ends instead of staying open.
  QTest::mousePress(&page, Qt::LeftButton, {}, QPoint(10, 10));
  page.hide();
  EXPECT_EQ(stop.count(), 2);
  EXPECT_FALSE(page.is_held());
}

TEST(PageGlyph, PostedPressesArriveThroughTheEventLoop) {
  TPageGlyph page(6, "&Microphone Page");
  page.resize(200, 24);
  page.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
  QSignalSpy start(&page, &TPageGlyph::pageStart);
  QSignalSpy stop(&page, &TPageGlyph::pageStop);
  for (int i = 0; i < 20; ++i) page.post_press();  // Space held: the key repeats
  EXPECT_EQ(start.count(), 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(start.count(), 20);
  page.post_release();
  QCoreApplication::processEvents();
  EXPECT_EQ(stop.count(), 1);
  EXPECT_FALSE(page.is_held());
}

}  // namespace
}  // namespace zta::ui
