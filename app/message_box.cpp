#include "app/message_box.hpp"

#include <QMessageBox>

namespace zta {

box_answer show_message_box(QWidget* owner, box_kind kind, const QString& caption,
                            const QString& text) {
  QMessageBox box(owner);
  box.setWindowTitle(caption);
  box.setText(text);
  switch (kind) {
    case box_kind::ok_information:
      box.setIcon(QMessageBox::Information);
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case box_kind::ok_warning:
      box.setIcon(QMessageBox::Warning);
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case box_kind::yes_no_warning:
      box.setIcon(QMessageBox::Warning);
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case box_kind::yes_no_cancel_question:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return box_answer::yes;
    case QMessageBox::No:
      return box_answer::no;
    case QMessageBox::Cancel:
      return box_answer::cancel;
    default:
      return box_answer::ok;
  }
}

}  // namespace zta
