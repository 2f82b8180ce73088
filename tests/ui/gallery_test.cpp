// Lays out one of each control and saves a picture of it in the build folder (ui-controls.png),
// for a look at the drawing that the pixel tests cannot judge.
#include <gtest/gtest.h>

#include <QGridLayout>
#include <QTest>

#include "tests/common/picture_checks.hpp"
#include "tests/ui/qt_app.hpp"
#include "ui/ldb_edit.hpp"
#include "ui/lev_rect.hpp"
#include "ui/main_window_controls.hpp"
#include "ui/mes_list.hpp"
#include "ui/my_glyph.hpp"
#include "ui/page_glyph.hpp"

namespace zta::ui {
namespace {

TEST(Gallery, OneOfEachControlIsDrawnAndSaved) {
  QWidget panel;
  auto* grid = new QGridLayout(&panel);
  auto* list = new TMesList;
  list->addItems({"Store opening", "Special offers", "Customer service"});
  list->setCurrentRow(1);
  grid->addWidget(list, 0, 0, 8, 1);
  int row = 0;
  TMyGlyph* first = nullptr;
  for (const control_layout& c : main_window_controls()) {
    if (c.kind != control_kind::glyph_button) continue;
    auto* b = new TMyGlyph(c.bitmap, c.text);
    if (first == nullptr) first = b;
    grid->addWidget(b, row++, 1);
  }
  grid->addWidget(new TPageGlyph(6, "&Microphone Page"), 8, 0, 1, 2);
  auto* slider = new LDBEdit;
  slider->setFixedHeight(20);
  grid->addWidget(slider, 9, 0, 1, 2);
  auto* meter = new lev_rect;
  meter->setFixedHeight(12);
  grid->addWidget(meter, 10, 0, 1, 2);
  panel.resize(400, 340);
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  slider->set_value(85);
  meter->set_level(8);
  QTest::mouseMove(&panel, first->geometry().center());  // one button shows its hot frame
  EXPECT_TRUE(first->is_hot());
  const QString file = QStringLiteral(ZTA_BINARY_DIR "/ui-controls.png");
  ASSERT_TRUE(panel.grab().save(file));
  test::expect_drawn_picture(file, panel);
  // The hot frame is drawn: the hovered button's picture differs from a plain one of the same.
  const QImage hot = first->grab().toImage();
  QTest::mouseMove(&panel, QPoint(1, panel.height() - 1));
  EXPECT_FALSE(first->is_hot());
  EXPECT_NE(first->grab().toImage(), hot);
}

}  // namespace
}  // namespace zta::ui
