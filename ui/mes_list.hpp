#pragma once
// TMesList: the main window's announcement list with a context menu. A right-button press first
// selects the row under the pointer exactly as a left click would, then shows the menu there; the
// chosen entry's command id is reported by commandChosen().
#include <QListWidget>
#include <span>

class QMenu;

namespace zta::ui {

inline constexpr int cmd_play = 301;
inline constexpr int cmd_stop = 302;
inline constexpr int cmd_announcement_control = 303;
inline constexpr int cmd_load = 304;

struct menu_entry {
  int id;            // 0: a separator
  const char* text;  // with its mnemonic marker
};

// The menu, top to bottom. "&Properties" deliberately repeats the Announcement Control command.
std::span<const menu_entry> mes_list_menu();

class TMesList : public QListWidget {
  Q_OBJECT
 public:
  explicit TMesList(QWidget* parent = nullptr);

  // The context menu as built for a right click; each action's data() is its command id.
  QMenu* build_menu(QWidget* parent) const;

 signals:
  void commandChosen(int id);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace zta::ui
