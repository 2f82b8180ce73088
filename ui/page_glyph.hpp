#pragma once
// TPageGlyph: the push-to-talk page button. A left-button press reports pageStart() and the
// release pageStop(), each after the button's own handling; connect them queued to have them
// arrive as posted notifications. Repeated presses (Space held down) repeat pageStart().
#include "ui/glyph_button.hpp"

namespace zta::ui {

class TPageGlyph : public TGlyphButton {
  Q_OBJECT
 public:
  TPageGlyph(int bitmap, const QString& text, QWidget* parent = nullptr);

  bool is_held() const { return held_; }
  // Queue a left-button press or release on the button, as the Space key of the main window
  // does; they arrive through the event loop like a real click.
  void post_press();
  void post_release();

 signals:
  void pageStart();
  void pageStop();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void end_hold();

  bool held_ = false;
};

}  // namespace zta::ui
