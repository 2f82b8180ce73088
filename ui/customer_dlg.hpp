#pragma once
// customer_dlg: the "Customer" dialog, reached from Settings. It sets the customer number (which
// names this shop's package on the distributor's server and spreads the daily update check) and
// the owner text of the owner block, and nothing else. "OK" stores a valid number, or says why
// the number is not one and stays open; "Cancel" and Escape change nothing.
#include <QDialog>

#include "announcements/settings_block.hpp"
#include "ui/dialog_template.hpp"
#include "ui/message_box.hpp"

namespace zta::ui {

enum customer_control : int {
  customer_ok = 1,
  customer_cancel = 2,
  customer_number = 101,
  customer_text = 102,
};

inline constexpr char customer_caption[] = "Customer";

class customer_dlg : public QDialog {
  Q_OBJECT
 public:
  customer_dlg(owner_block& owner, message_box_fn box, QWidget* parent = nullptr);

  QWidget* control(int id) const { return controls_.at(id); }

  void accept() override;

 private:
  owner_block& owner_;
  message_box_fn box_;
  dialog_controls controls_;
};

}  // namespace zta::ui
