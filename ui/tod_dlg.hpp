#pragma once
// tod_dlg: "Enter Autoplay Time", one time of day typed as text. It is given the caller's value
// (seconds since midnight) to show, and writes it back only on "OK".
#include <QDialog>
#include <cstdint>

class QLineEdit;

namespace zta::ui {

inline constexpr char tod_caption[] = "Enter Autoplay Time";
inline constexpr char tod_hint[] = "24 hour format: hh:mm:ss";
inline constexpr int tod_read_limit = 38;  // characters of the edit that are read

class tod_dlg : public QDialog {
  Q_OBJECT
 public:
  tod_dlg(std::int32_t& value, QWidget* parent = nullptr);
  QLineEdit* edit() const { return edit_; }

 public slots:
  void accept() override;

 private:
  std::int32_t& value_;
  QLineEdit* edit_;
};

// Runs the dialog modally; true (with `value` written) on "OK".
bool enter_time(std::int32_t& value, QWidget* owner);

}  // namespace zta::ui
