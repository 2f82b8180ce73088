#pragma once
// What a saved picture of a widget must show at least: the widget's own size, read back from the
// file, and a drawing (a blank, single-colour or unpainted grab has only a few colours).
#include <gtest/gtest.h>

#include <QImage>
#include <QSet>
#include <QString>
#include <QWidget>

namespace zta::test {

inline int distinct_colours(const QImage& image) {
  QSet<QRgb> seen;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) seen.insert(image.pixel(x, y));
  return static_cast<int>(seen.size());
}

// `file` holds a picture of `w` with text and glyphs drawn on it.
inline void expect_drawn_picture(const QString& file, const QWidget& w) {
  const QImage saved(file);
  ASSERT_FALSE(saved.isNull()) << file.toStdString();
  const qreal ratio = w.devicePixelRatioF();
  EXPECT_EQ(saved.width(), qRound(w.width() * ratio)) << file.toStdString();
  EXPECT_EQ(saved.height(), qRound(w.height() * ratio)) << file.toStdString();
  // Anti-aliased text alone brings dozens of shades.
  EXPECT_GE(distinct_colours(saved), 16) << file.toStdString();
}

}  // namespace zta::test
