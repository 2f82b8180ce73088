#pragma once
// TMyGlyph: a glyph button with hot tracking; it looks flat until the pointer moves over it.
#include "ui/glyph_button.hpp"

namespace zta::ui {

class TMyGlyph : public TGlyphButton {
  Q_OBJECT
 public:
  TMyGlyph(int bitmap, const QString& text, QWidget* parent = nullptr);

  bool is_hot() const { return hot_; }

 protected:
  bool hot_tracking() const override { return true; }
  bool hot() const override { return hot_; }
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void set_hot(bool hot);

  bool hot_ = false;
};

}  // namespace zta::ui
