#include "ui/tod_dlg.hpp"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "announcements/date_time_text.hpp"
#include "announcements/text_encoding.hpp"

namespace zta::ui {

tod_dlg::tod_dlg(std::int32_t& value, QWidget* parent) : QDialog(parent), value_(value) {
  setWindowTitle(QString::fromLatin1(tod_caption));
  auto* layout = new QVBoxLayout(this);
  edit_ = new QLineEdit(QString::fromStdString(day_time_text(value)), this);
  edit_->setObjectName(QStringLiteral("101"));
  layout->addWidget(edit_);
  layout->addWidget(new QLabel(QString::fromLatin1(tod_hint), this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &tod_dlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &tod_dlg::reject);
  layout->addWidget(buttons);
  edit_->selectAll();
}

void tod_dlg::accept() {
  const std::string text = cut_at_character(edit_->text().toStdString(), tod_read_limit);
  value_ = parse_day_time(text);
  QDialog::accept();
}

bool enter_time(std::int32_t& value, QWidget* owner) {
  tod_dlg dlg(value, owner);
  return dlg.exec() == QDialog::Accepted;
}

}  // namespace zta::ui
