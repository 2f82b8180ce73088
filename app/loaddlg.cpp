#include "app/loaddlg.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "loading/package_reader.hpp"
#include "ui/recproc_dlg.hpp"

namespace zta {

loaddlg::loaddlg(app_context& ctx, message_box_fn box, QWidget* parent)
    : QDialog(parent), ctx_(ctx), box_(std::move(box)), stepper_(ctx) {
  // A WAV file is processed as a recording is, in "Process for Telephone" with its warnings.
  stepper_.processor = ui::dialog_processor(this, ctx_.st, box_);
  setWindowTitle(load_dialog_caption);
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Loading Messages or Music.\nPlease wait..."), this));
  auto* status_row = new QHBoxLayout;
  status_row->addWidget(new QLabel(QStringLiteral("Status:"), this));
  status_ = new QLabel(this);
  status_->setMinimumWidth(160);
  status_row->addWidget(status_, 1);
  layout->addLayout(status_row);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);
  connect(cancel_, &QPushButton::clicked, this, &loaddlg::reject);
  connect(&stepper_, &load_stepper::statusChanged, status_, &QLabel::setText);
  connect(&stepper_, &load_stepper::finished, this, &loaddlg::finish);
}

void loaddlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (started_) return;
  started_ = true;
  QTimer::singleShot(0, this, [this] { stepper_.start(); });
}

void loaddlg::reject() {
  if (stepper_.running()) {
    stepper_.cancel();  // finish() closes the dialog
    return;
  }
  done(0);
}

void loaddlg::finish(bool loaded) {
  package_error e = stepper_.run().error();
  if (e != package_error::none && box_)
    box_(this, box_kind::ok_warning, package_error_caption, package_error_text(e));
  // A load that stopped early still loaded what came before, and says so.
  if (const load_stop why = stepper_.run().stopped(); why != load_stop::none) {
    const QString reason = QString::fromLatin1(load_stop_text(why));
    status_->setText(reason);
    if (box_)
      box_(this, box_kind::ok_warning, QString::fromLatin1(load_stopped_caption),
           QString::fromLatin1(some_not_loaded_text) + "\n\n" + reason);
  }
  done(loaded ? 1 : 0);
}

}  // namespace zta
