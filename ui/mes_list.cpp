#include "ui/mes_list.hpp"

#include <QMenu>
#include <QMouseEvent>
#include <memory>

namespace zta::ui {

namespace {

constexpr menu_entry menu_entries[] = {
    {cmd_play, "&Play Announcement"},
    {cmd_stop, "Stop"},
    {0, nullptr},
    {cmd_announcement_control, "A&nnouncement Control"},
    {cmd_load, "&Load New Announcements"},
    {0, nullptr},
    {cmd_announcement_control, "&Properties"},
};

}  // namespace

std::span<const menu_entry> mes_list_menu() {
  return menu_entries;
}

TMesList::TMesList(QWidget* parent) : QListWidget(parent) {
  // Every right-button event comes to mousePressEvent; no separate context-menu event.
  setContextMenuPolicy(Qt::PreventContextMenu);
}

QMenu* TMesList::build_menu(QWidget* parent) const {
  auto* menu = new QMenu(parent);
  for (const menu_entry& e : mes_list_menu()) {
    if (e.id == 0) {
      menu->addSeparator();
    } else {
      menu->addAction(QString::fromLatin1(e.text))->setData(e.id);
    }
  }
  return menu;
}

void TMesList::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton) return QListWidget::mousePressEvent(event);
  const QPointF pos = event->position();
  const QPointF global = event->globalPosition();
  QMouseEvent down(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton,
                   event->modifiers());
  QMouseEvent up(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton,
                 event->modifiers());
  QListWidget::mousePressEvent(&down);
  QListWidget::mouseReleaseEvent(&up);

  std::unique_ptr<QMenu> menu(build_menu(this));
  if (QAction* chosen = menu->exec(global.toPoint())) emit commandChosen(chosen->data().toInt());
}

}  // namespace zta::ui
