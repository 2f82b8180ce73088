#pragma once
// logo_win: the start-up logo, a 260 x 260 pop-up centred on the desktop that shows the
// 256 x 256 logo (bitmap 9) inside a 2-pixel frame. A left click hides it at once.
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QWidget>

namespace zta::ui {

inline constexpr int logo_win_size = 260;

// Top-left corner that centres the window on a desktop area.
QPoint logo_win_position(const QRect& desktop);

class logo_win : public QWidget {
  Q_OBJECT
 public:
  // Created centred on the primary screen; call show() to open it.
  explicit logo_win(QWidget* owner = nullptr);

  const QPixmap& logo() const { return logo_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QPixmap logo_;
};

}  // namespace zta::ui
