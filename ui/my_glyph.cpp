#include "ui/my_glyph.hpp"

#include <QMouseEvent>

namespace zta::ui {

TMyGlyph::TMyGlyph(int bitmap, const QString& text, QWidget* parent)
    : TGlyphButton(bitmap, text, parent) {
  setMouseTracking(true);
}

void TMyGlyph::set_hot(bool hot) {
  if (hot == hot_) return;
  hot_ = hot;
  update();
}

void TMyGlyph::enterEvent(QEnterEvent* event) {
  set_hot(true);
  TGlyphButton::enterEvent(event);
}

void TMyGlyph::leaveEvent(QEvent* event) {
  set_hot(false);
  TGlyphButton::leaveEvent(event);
}

void TMyGlyph::mouseMoveEvent(QMouseEvent* event) {
  // While a button is held Qt sends no leave event, so the move itself decides.
  set_hot(rect().contains(event->position().toPoint()));
  TGlyphButton::mouseMoveEvent(event);
}

void TMyGlyph::hideEvent(QHideEvent* event) {
  set_hot(false);
  TGlyphButton::hideEvent(event);
}

}  // namespace zta::ui
