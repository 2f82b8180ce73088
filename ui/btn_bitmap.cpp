#include "ui/btn_bitmap.hpp"

#include "ui/resource_paths.hpp"

namespace zta::ui {

QImage replace_face_colour(const QImage& image, const QColor& face) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb from = qRgb(192, 192, 192);
  const QRgb to = face.rgba();
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      if (line[x] == from) line[x] = to;
    }
  }
  return out;
}

TBtnBitmap::TBtnBitmap(int number, const QColor& face)
    : number_(number), original_(bitmap_path(number)) {
  set_face(face);
}

void TBtnBitmap::set_face(const QColor& face) {
  if (original_.isNull()) return;
  pixmap_ = QPixmap::fromImage(replace_face_colour(original_, face));
}

}  // namespace zta::ui
