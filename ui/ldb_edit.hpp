#pragma once
// LDBEdit: a percentage slider with a typed-in value box (the Settings dialog's level controls).
// The box (object name "100") takes the leftmost 28 pixels and shows "N%"; the bar fills the rest.
// Clicking or dragging on the bar sets the value; typing into the box sets it too, without the box
// being rewritten.
#include <QWidget>
#include <cstdint>

class QLineEdit;

namespace zta::ui {

class LDBEdit : public QWidget {
  Q_OBJECT
 public:
  explicit LDBEdit(QWidget* parent = nullptr);

  // Values above 100 become 100; the bar is redrawn and the box shows "N%".
  void set_value(int value);
  std::uint8_t value() const { return value_; }
  QLineEdit* box() const { return box_; }

 signals:
  // After every change of the box's text (typed or set) and every left-button press on the bar.
  void levelChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void box_text_changed(const QString& text);
  void redraw(int new_value);  // invalidates the span between the old and new value, then stores
  void set_value_from_x(int x);

  QLineEdit* box_;
  std::uint8_t value_ = 0;
  bool dragging_ = false;
};

}  // namespace zta::ui
