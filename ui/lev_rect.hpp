#pragma once
// lev_rect: the recording level meter of the Announcement Control dialog. It is updated for every
// recorded block, so a change repaints only the columns that differ, at once.
#include <QWidget>

namespace zta::ui {

class lev_rect : public QWidget {
  Q_OBJECT
 public:
  explicit lev_rect(QWidget* parent = nullptr);

  // Limited to -40..+20 (-60 and below show empty); the same level again repaints nothing.
  void set_level(int level);
  int level() const { return level_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int level_;
};

}  // namespace zta::ui
