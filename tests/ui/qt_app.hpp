#pragma once
// The QApplication of the widget tests is made before any test runs (qt_environment.cpp), so
// fixtures may hold widgets as members.
#include <QApplication>
#include <QColor>
#include <QImage>

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

}  // namespace zta::test
