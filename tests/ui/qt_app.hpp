#pragma once
// The QApplication of the widget tests is made before any test runs (qt_environment.cpp), so
// fixtures may hold widgets as members.
#include <QApplication>
#include <QColor>
#include <QImage>
#include <QPaintEvent>
#include <QTest>

namespace zta::test {

inline QApplication& qt_app() {
  return *static_cast<QApplication*>(QCoreApplication::instance());
}

// Columns of one image row that have exactly this colour.
inline int count_in_row(const QImage& img, int y, QColor colour) {
  int n = 0;
  for (int x = 0; x < img.width(); ++x) n += QColor(img.pixel(x, y)) == colour ? 1 : 0;
  return n;
}

// A control that writes down its repaints: how many, and the last one's rectangle.
template <class Control>
class paint_recorder : public Control {
 public:
  int paints = 0;
  QRect last;

  // Shows the control at `size` and waits for its first paint; the count starts after it.
  bool show_at(QSize size) {
    this->resize(size);
    this->show();
    if (!QTest::qWaitForWindowExposed(this)) return false;
    QCoreApplication::processEvents();
    paints = 0;
    return true;
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    ++paints;
    last = e->rect();
    Control::paintEvent(e);
  }
};

}  // namespace zta::test
