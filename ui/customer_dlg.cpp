#include "ui/customer_dlg.hpp"

#include <QLineEdit>
#include <QPushButton>

#include "announcements/owner_file.hpp"
#include "announcements/text_encoding.hpp"

namespace zta::ui {

namespace {

using k = item_kind;
constexpr QSize dialog_size{220, 66};
const dialog_item items[] = {
    {-1, k::label, {6, 8, 70, 8}, "Customer &Number:", customer_number},
    {customer_number, k::edit, {78, 6, 60, 12}},
    {-1, k::label, {6, 26, 70, 8}, "Owner &Text:", customer_text},
    {customer_text, k::edit, {78, 24, 136, 12}},
    {customer_ok, k::default_push, {108, 46, 50, 14}, "OK"},
    {customer_cancel, k::push, {164, 46, 50, 14}, "Cancel"},
};

}  // namespace

customer_dlg::customer_dlg(owner_block& owner, message_box_fn box, QWidget* parent)
    : QDialog(parent), owner_(owner), box_(std::move(box)) {
  setWindowTitle(customer_caption);
  setModal(true);
  controls_.build(*this, dialog_size, items);
  controls_.get<QLineEdit>(customer_number)->setText(QString::number(owner_.customer_number()));
  controls_.get<QLineEdit>(customer_text)
      ->setText(QString::fromStdString(display_text(owner_text(owner_))));
  connect(controls_.get<QPushButton>(customer_ok), &QPushButton::clicked, this,
          &customer_dlg::accept);
  connect(controls_.get<QPushButton>(customer_cancel), &QPushButton::clicked, this,
          &customer_dlg::reject);
}

void customer_dlg::accept() {
  const auto number =
      parse_customer_number(controls_.get<QLineEdit>(customer_number)->text().toStdString());
  if (!number) {
    if (box_)
      box_(this, box_kind::ok_warning, customer_caption,
           QString::fromLatin1(customer_number_error_text));
    return;
  }
  owner_.set_customer_number(*number);
  // Text shown as it was stored keeps its stored bytes, even where they are not UTF-8.
  auto* text = controls_.get<QLineEdit>(customer_text);
  if (text->text() != QString::fromStdString(display_text(owner_text(owner_))))
    set_owner_text(owner_, text->text().toStdString());
  QDialog::accept();
}

}  // namespace zta::ui
