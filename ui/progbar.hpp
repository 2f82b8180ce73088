#pragma once
// progbar: the install window's progress bar. It is set for every copied block, so a change
// repaints only the strip between the old and the new boundary, at once.
#include <QWidget>

namespace zta::ui {

class progbar : public QWidget {
  Q_OBJECT
 public:
  explicit progbar(QWidget* parent = nullptr);

  // 0..100 (larger values count as 100); the same percentage again repaints nothing.
  void set_percent(int percent);
  int percent() const { return percent_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int percent_ = 0;
};

}  // namespace zta::ui
