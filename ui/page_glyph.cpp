#include "ui/page_glyph.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>

namespace zta::ui {

TPageGlyph::TPageGlyph(int bitmap, const QString& text, QWidget* parent)
    : TGlyphButton(bitmap, text, parent) {}

void TPageGlyph::mousePressEvent(QMouseEvent* event) {
  TGlyphButton::mousePressEvent(event);
  if (event->button() != Qt::LeftButton) return;
  held_ = true;
  emit pageStart();
}

void TPageGlyph::mouseReleaseEvent(QMouseEvent* event) {
  TGlyphButton::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton) return;
  held_ = false;
  emit pageStop();
}

void TPageGlyph::post_press() {
  const QPointF at = rect().center();
  QCoreApplication::postEvent(this, new QMouseEvent(QEvent::MouseButtonPress, at, mapToGlobal(at),
                                                    Qt::LeftButton, Qt::LeftButton, {}));
}

void TPageGlyph::post_release() {
  const QPointF at = rect().center();
  QCoreApplication::postEvent(this, new QMouseEvent(QEvent::MouseButtonRelease, at, mapToGlobal(at),
                                                    Qt::LeftButton, Qt::NoButton, {}));
}

// A button that disappears or is disabled while held never sees its release; end the page then
// rather than leave the microphone open.
void TPageGlyph::end_hold() {
  if (!held_) return;
  held_ = false;
  setDown(false);
  emit pageStop();
}

void TPageGlyph::hideEvent(QHideEvent* event) {
  end_hold();
  TGlyphButton::hideEvent(event);
}

void TPageGlyph::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled()) end_hold();
  TGlyphButton::changeEvent(event);
}

}  // namespace zta::ui
