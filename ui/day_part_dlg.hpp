#pragma once
// DayPartDlg: the "Day-Part Volume" dialog. It edits the day-part table of the settings in place,
// entry by entry as the user acts (announcements/day_part_edit.hpp holds the rules); Escape and
// the close box close it like "OK", keeping every change.
#include <QDialog>
#include <functional>

#include "announcements/day_part_edit.hpp"
#include "announcements/settings_block.hpp"
#include "ui/dialog_template.hpp"

class QListWidget;

namespace zta::ui {

enum day_part_control : int {
  day_ok = 1,
  day_rows = 101,
  day_master_up = 102,
  day_master_down = 103,
  day_announcements_up = 104,
  day_announcements_down = 105,
  day_music_up = 106,
  day_music_down = 107,
  day_mic_up = 108,
  day_mic_down = 109,
  day_add = 110,
  day_remove = 111,
  day_monday = 112,  // .. 118 Sunday
  day_from = 119,
  day_to = 120,
  day_help = 998,
};

inline constexpr char day_part_caption[] = "Day-Part Volume";

class DayPartDlg : public QDialog {
  Q_OBJECT
 public:
  DayPartDlg(settings_block& settings, std::function<void(int context)> help,
             QWidget* parent = nullptr);

  QWidget* control(int id) const { return controls_.at(id); }
  QListWidget* rows() const;

  void reject() override { accept(); }

 private:
  int selected() const;  // the selected entry, or -1
  void show_selected();
  void rewrite_row(int row);
  void add();
  void remove();
  void time_changed(int edit_id);
  void weekday_clicked(int box, bool checked);
  void step(day_part_step how);

  settings_block& settings_;
  std::function<void(int)> help_;
  dialog_controls controls_;
};

}  // namespace zta::ui
