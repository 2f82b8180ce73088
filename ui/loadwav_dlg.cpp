#include "ui/loadwav_dlg.hpp"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/recproc_dlg.hpp"

namespace zta::ui {

loadwav_dlg::loadwav_dlg(station& st, const std::string& path, pcm_decoder_factory* decoders,
                         message_box_fn box, QWidget* parent)
    : QDialog(parent), job_(st, path, decoders, dialog_processor(this, st, std::move(box))) {
  setWindowTitle(QString::fromLatin1(loadwav_caption));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Loading Messages or Music.\nPlease wait..."), this));
  auto* status_row = new QHBoxLayout;
  status_row->addWidget(new QLabel(QStringLiteral("Status:"), this));
  status_ = new QLabel(QFileInfo(QString::fromStdString(path)).fileName(), this);
  status_->setMinimumWidth(160);
  status_row->addWidget(status_, 1);
  layout->addLayout(status_row);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);
  connect(cancel_, &QPushButton::clicked, this, &loadwav_dlg::reject);
  idle_.setSingleShot(true);
  idle_.setInterval(0);
  connect(&idle_, &QTimer::timeout, this, &loadwav_dlg::step);
}

void loadwav_dlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  idle_.start();
}

void loadwav_dlg::step() {
  // The processing dialog runs inside the step that ends the reading; no step starts meanwhile.
  if (job_.step()) {
    if (isVisible()) idle_.start();
    return;
  }
  done(job_.result() >= 0 ? Accepted : Rejected);
}

void loadwav_dlg::reject() {
  idle_.stop();
  job_.cancel();
  QDialog::reject();
}

int import_wav_file(QWidget* owner, station& st, const std::string& path,
                    pcm_decoder_factory* decoders, const message_box_fn& box) {
  loadwav_dlg dlg(st, path, decoders, box, owner);
  if (dlg.result_index() < 0 && dlg.failure() != import_failure::none)
    return -1;  // refused at once
  dlg.exec();
  return dlg.result_index();
}

}  // namespace zta::ui
