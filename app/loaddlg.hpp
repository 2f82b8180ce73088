#pragma once
// loaddlg: the "Load Announcements" progress dialog. It runs one load by the stored method, one
// step per idle turn, so Cancel stays live; exec() gives 1 when announcements were loaded, else 0.
// A refused package shows its "File Error" box first; a load that stopped early (what it loaded
// stays) shows the reason in the status line and in a box.
#include <QDialog>

#include "app/app_context.hpp"
#include "app/load_stepper.hpp"
#include "ui/message_box.hpp"

class QLabel;
class QPushButton;

namespace zta {

inline constexpr char load_dialog_caption[] = "Load Announcements";
inline constexpr char load_stopped_caption[] = "Warning";

class loaddlg : public QDialog {
  Q_OBJECT
 public:
  loaddlg(app_context& ctx, message_box_fn box, QWidget* parent = nullptr);

  QLabel* status_label() const { return status_; }
  QPushButton* cancel_button() const { return cancel_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;

 private:
  void finish(bool loaded);

  app_context& ctx_;
  message_box_fn box_;
  load_stepper stepper_;
  QLabel* status_;
  QPushButton* cancel_;
  bool started_ = false;
};

}  // namespace zta
