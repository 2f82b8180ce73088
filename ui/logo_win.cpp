#include "ui/logo_win.hpp"

#include <qdrawutil.h>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "ui/resource_paths.hpp"

namespace zta::ui {

QPoint logo_win_position(const QRect& desktop) {
  return {desktop.left() + (desktop.width() - logo_win_size) / 2,
          desktop.top() + (desktop.height() - logo_win_size) / 2};
}

logo_win::logo_win(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      logo_(bitmap_path(logo_bitmap)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedSize(logo_win_size, logo_win_size);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(logo_win_position(screen->geometry()));
  }
}

void logo_win::paintEvent(QPaintEvent*) {
  QPainter p(this);
  qDrawWinPanel(&p, rect(), palette(), false);  // the frame around the picture
  const int inset = (logo_win_size - 256) / 2;
  p.drawPixmap(inset, inset, logo_);
}

void logo_win::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) hide();
}

}  // namespace zta::ui
