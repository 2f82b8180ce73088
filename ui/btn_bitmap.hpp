#pragma once
// TBtnBitmap: a 16 x 16 glyph bitmap loaded by number whose light gray (192,192,192) pixels take
// the button face colour, so the glyph's background merges with the button.
#include <QColor>
#include <QImage>
#include <QPixmap>

namespace zta::ui {

// Every pixel of exactly (192,192,192) becomes `face`; other pixels stay.
QImage replace_face_colour(const QImage& image, const QColor& face);

class TBtnBitmap {
 public:
  TBtnBitmap(int number, const QColor& face);

  int number() const { return number_; }
  bool is_null() const { return pixmap_.isNull(); }
  const QPixmap& pixmap() const { return pixmap_; }
  // Re-applies a new face colour (the palette changed).
  void set_face(const QColor& face);

 private:
  int number_;
  QImage original_;
  QPixmap pixmap_;
};

}  // namespace zta::ui
