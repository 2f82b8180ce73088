#include "ui/message_box.hpp"

#include <QMessageBox>

#include "announcements/script_sheet.hpp"

namespace zta {

box_answer show_message_box(QWidget* owner, box_kind kind, const QString& caption,
                            const QString& text) {
  QMessageBox box(owner);
  box.setWindowTitle(caption);
  // The texts carry the line ends they were written with (LF CR, CR LF, lone CR): one line each.
  box.setText(QString::fromStdString(printable_lines(text.toStdString())));
  switch (kind) {
    case box_kind::ok_plain:
      box.setIcon(QMessageBox::NoIcon);
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case box_kind::ok_cancel_warning:
      box.setIcon(QMessageBox::Warning);
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
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
