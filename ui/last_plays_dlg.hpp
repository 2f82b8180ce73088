#pragma once
// "Last plays": the month's play log and missed file, newest first, in a small window opened
// from the notification icon's menu. Read once when opened; Refresh reads them again.
#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

class QListWidget;

namespace zta::ui {

extern const char last_plays_title[];

// One row's text: "2023-11-14 10:31  Fixed  played" or
// "2023-11-14 14:00:00  Hourly  missed (every 60 minutes): device failed to open".
std::string last_plays_row(std::int32_t when, bool played, const std::string& name,
                           const std::string& trigger, const std::string& reason);

class last_plays_dlg : public QDialog {
  Q_OBJECT
 public:
  // `data_folder` with a trailing '/'; `now` says which month (asked again on Refresh).
  last_plays_dlg(std::string data_folder, std::function<std::int32_t()> now,
                 QWidget* parent = nullptr);

  void refresh();
  QListWidget* list() const { return list_; }

 private:
  std::string folder_;
  std::function<std::int32_t()> now_;
  QListWidget* list_;
};

}  // namespace zta::ui
