#include "ui/message_box.hpp"

#include <QMessageBox>

namespace zta {

box_answer show_message_box(QWidget* owner, box_kind kind, const QString& caption,
                            const QString& text) {
  QMessageBox box(owner);
  box.setWindowTitle(caption);
  // The texts keep the line breaks they were written with ("\n\r", "\r"); shown as lines.
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
      .replace(QStringLiteral("\n\r"), QStringLiteral("\n"))
      .replace(QLatin1Char('\r'), QLatin1Char('\n'));
  box.setTextFormat(Qt::PlainText);
  box.setText(shown);
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
