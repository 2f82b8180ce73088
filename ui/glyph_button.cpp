#include "ui/glyph_button.hpp"

#include <qdrawutil.h>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace zta::ui {

namespace {
constexpr int glyph_size = 16;
constexpr int gap = 4;  // between frame, glyph and text
}  // namespace

frame_look glyph_frame_look(bool hot_tracking, bool hot, bool down) {
  if (down) return frame_look::sunken;
  if (hot_tracking && !hot) return frame_look::flat;
  return frame_look::raised;
}

QString strip_mnemonic(const QString& text) {
  // "&x" shows as "x" and "&&" as "&": either way the character after the marker stays.
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&') ++i;
    if (i < text.size()) out += text[i];
  }
  return out;
}

TGlyphButton::TGlyphButton(int bitmap, const QString& text, QWidget* parent)
    : QPushButton(text, parent),
      bitmap_(std::make_unique<TBtnBitmap>(bitmap, palette().color(QPalette::Button))) {}

TGlyphButton::~TGlyphButton() = default;

frame_look TGlyphButton::current_look() const {
  return glyph_frame_look(hot_tracking(), hot(), isDown());
}

QSize TGlyphButton::sizeHint() const {
  const QSize base = QPushButton::sizeHint();
  return {base.width() + glyph_size + gap, std::max(base.height(), glyph_size + 2 * gap)};
}

void TGlyphButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange) bitmap_->set_face(palette().color(QPalette::Button));
  QPushButton::changeEvent(event);
}

void TGlyphButton::compose(QPainter& p) const {
  QRect r = rect();
  p.fillRect(r, palette().color(QPalette::Button));
  if (isDefault()) {
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    r.adjust(1, 1, -1, -1);
  }
  const frame_look look = current_look();
  if (look != frame_look::flat) qDrawWinButton(&p, r, palette(), look == frame_look::sunken);
  const int shift = look == frame_look::sunken ? 1 : 0;

  // Glyph and text as one centred group, the glyph on the left.
  const QString shown = strip_mnemonic(text());
  const int text_w = shown.isEmpty() ? 0 : fontMetrics().horizontalAdvance(shown);
  const int group_w = glyph_size + (text_w > 0 ? gap + text_w : 0);
  const int left = std::max(r.left() + gap, r.left() + (r.width() - group_w) / 2) + shift;
  const int glyph_y = r.top() + (r.height() - glyph_size) / 2 + shift;
  if (!bitmap_->is_null()) {
    QPixmap glyph = bitmap_->pixmap();
    if (!isEnabled()) {
      QStyleOption opt;
      opt.initFrom(this);
      glyph = style()->generatedIconPixmap(QIcon::Disabled, glyph, &opt);
    }
    p.drawPixmap(left, glyph_y, glyph);
  }
  const QRect text_rect(left + glyph_size + gap, r.top() + shift,
                        std::max(0, r.right() - gap - (left + glyph_size + gap) + 1), r.height());
  style()->drawItemText(&p, text_rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                        palette(), isEnabled(), text(), QPalette::ButtonText);
}

void TGlyphButton::paintEvent(QPaintEvent* event) {
  const qreal dpr = devicePixelRatioF();
  QPixmap buffer(size() * dpr);
  buffer.setDevicePixelRatio(dpr);
  {
    QPainter p(&buffer);
    compose(p);
  }
  const QRect area = event->rect();
  QPainter screen(this);
  screen.drawPixmap(area.topLeft(), buffer, QRect((area.topLeft() * dpr), (area.size() * dpr)));
}

}  // namespace zta::ui
