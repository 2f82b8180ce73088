#include "ui/ldb_edit.hpp"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "ui/ldb_geometry.hpp"

namespace zta::ui {

LDBEdit::LDBEdit(QWidget* parent) : QWidget(parent), box_(new QLineEdit(this)) {
  box_->setObjectName(QStringLiteral("100"));
  box_->setFrame(false);
  box_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  box_->setMaxLength(32767);  // no text limit beyond Qt's own
  box_->setTextMargins(0, 0, 0, 0);
  // The stock small proportional font: shrink until "100%" fits the 28-pixel box.
  QFont font = box_->font();
  for (int px = 13; px > 6; --px) {
    font.setPixelSize(px);
    if (QFontMetrics(font).horizontalAdvance(QStringLiteral("100%")) <= ldb::box_width - 4) break;
  }
  box_->setFont(font);
  setAttribute(Qt::WA_OpaquePaintEvent);  // the bar and the box cover every pixel
  setFocusProxy(box_);
  box_->installEventFilter(this);
  connect(box_, &QLineEdit::textChanged, this, &LDBEdit::box_text_changed);
  box_->setText(QStringLiteral("0%"));
}

void LDBEdit::set_value(int value) {
  const int v = ldb::limit_value(value);
  redraw(v);
  box_->setText(QStringLiteral("%1%").arg(v));
}

void LDBEdit::box_text_changed(const QString& text) {
  redraw(ldb::value_from_text(text.left(18).toStdString()));
  emit levelChanged();
}

void LDBEdit::redraw(int new_value) {
  const column_span s = ldb::redraw_span(value_, new_value, width());
  if (new_value != value_) {
    update(QRect(s.left, 0, s.right - s.left, height()));
    if (s.left < ldb::box_width) box_->update();
  }
  value_ = static_cast<std::uint8_t>(new_value);
}

void LDBEdit::set_value_from_x(int x) {
  set_value(ldb::value_from_x(x, width()));
}

void LDBEdit::paintEvent(QPaintEvent*) {
  QPainter p(this);
  for (const fill_rect& r : ldb::paint(value_, width(), height(), isEnabled())) {
    p.fillRect(r.x, r.y, r.w, r.h, QColor(r.colour.r, r.colour.g, r.colour.b));
  }
}

void LDBEdit::resizeEvent(QResizeEvent*) {
  box_->setGeometry(0, 0, ldb::box_width, height());
}

void LDBEdit::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  box_->setFocus(Qt::MouseFocusReason);
  const int x = event->position().toPoint().x();
  if (x >= ldb::box_width) {
    set_value_from_x(x);
    dragging_ = true;  // Qt holds the mouse for us until the release
    emit levelChanged();
  }
}

void LDBEdit::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) set_value_from_x(event->position().toPoint().x());
}

void LDBEdit::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
}

void LDBEdit::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) update();  // the box follows by itself
  QWidget::changeEvent(event);
}

bool LDBEdit::eventFilter(QObject* watched, QEvent* event) {
  // Focus that reaches the control other than by a click selects the whole value.
  if (watched == box_ && event->type() == QEvent::FocusIn &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason) {
    QMetaObject::invokeMethod(
        box_, [b = box_] { b->setSelection(0, 8); }, Qt::QueuedConnection);
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zta::ui
