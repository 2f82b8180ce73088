#pragma once
// TTooltip: the tips of a window's controls, shown even while the window is not active.
#include <QObject>
#include <QString>

class QWidget;

namespace zta::ui {

class TTooltip : public QObject {
  Q_OBJECT
 public:
  explicit TTooltip(QWidget* window);

  // One tool per control, identified by the control itself.
  void add_tool(QWidget* control, const QString& text);
  int tool_count() const { return count_; }
  // Takes down a tip that is showing (before the window hides).
  void hide();

 private:
  int count_ = 0;
};

}  // namespace zta::ui
