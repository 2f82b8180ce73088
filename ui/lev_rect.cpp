#include "ui/lev_rect.hpp"

#include <QPainter>

#include "ui/lev_geometry.hpp"

namespace zta::ui {

lev_rect::lev_rect(QWidget* parent) : QWidget(parent), level_(lev::min_level) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel is painted: no background erase
}

void lev_rect::set_level(int level) {
  const int g = lev::limit_level(level);
  if (g == level_) return;
  const column_span s = lev::changed_span(level_, g, width());
  level_ = g;
  if (!s.empty()) repaint(QRect(s.left, 0, s.right - s.left, height()));
}

void lev_rect::paintEvent(QPaintEvent*) {
  QPainter p(this);
  for (const fill_rect& r : lev::paint(level_, width(), height())) {
    p.fillRect(r.x, r.y, r.w, r.h, QColor(r.colour.r, r.colour.g, r.colour.b));
  }
}

}  // namespace zta::ui
