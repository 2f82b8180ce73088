#pragma once
// TGlyphButton: a push button that draws its own 3-D frame, face, a 16 x 16 glyph (TBtnBitmap,
// owned) to the left of its text, and no focus rectangle. The image is composed off-screen and
// copied in one operation, so repaints do not flicker.
#include <QPushButton>
#include <memory>

#include "ui/btn_bitmap.hpp"

namespace zta::ui {

enum class frame_look { flat, raised, sunken };

// The frame a glyph button shows. A hot-tracking button is flat until the pointer is over it
// (hot) or it is held down; a plain one is always framed.
frame_look glyph_frame_look(bool hot_tracking, bool hot, bool down);

// The text as shown: "&&" becomes "&", a single "&" (the mnemonic marker) disappears.
QString strip_mnemonic(const QString& text);

class TGlyphButton : public QPushButton {
  Q_OBJECT
 public:
  TGlyphButton(int bitmap, const QString& text, QWidget* parent = nullptr);
  ~TGlyphButton() override;

  const TBtnBitmap& bitmap() const { return *bitmap_; }
  frame_look current_look() const;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Whether the pointer counts as over the button (only the hot-tracking variant uses it).
  virtual bool hot_tracking() const { return false; }
  virtual bool hot() const { return false; }

 private:
  void compose(QPainter& p) const;

  std::unique_ptr<TBtnBitmap> bitmap_;
};

}  // namespace zta::ui
