#include "ui/progbar.hpp"

#include <QPainter>

#include "ui/progbar_geometry.hpp"

namespace zta::ui {

progbar::progbar(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel is painted: no background erase
}

void progbar::set_percent(int percent) {
  const int p = progress::limit_percent(percent);
  if (p == percent_) return;
  const column_span s = progress::changed_span(percent_, p, width());
  percent_ = p;
  if (!s.empty()) repaint(QRect(s.left, 0, s.right - s.left, height()));
}

void progbar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  for (const fill_rect& r : progress::paint(percent_, width(), height()))
    p.fillRect(r.x, r.y, r.w, r.h, QColor(r.colour.r, r.colour.g, r.colour.b));
}

}  // namespace zta::ui
