#include "ui/recproc_dlg.hpp"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace zta::ui {

recproc_dlg::recproc_dlg(station& st, rectmp& source, std::int16_t& clip, std::int32_t& id_serial,
                         message_box_fn box, QWidget* parent)
    : QDialog(parent), job_(st, &source, &clip, &id_serial), box_(std::move(box)) {
  setWindowTitle(QString::fromLatin1(recproc_caption));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString::fromLatin1(recproc_text), this));
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);
  connect(cancel_, &QPushButton::clicked, this, &recproc_dlg::reject);
  idle_.setSingleShot(true);
  idle_.setInterval(0);
  connect(&idle_, &QTimer::timeout, this, &recproc_dlg::step);
}

void recproc_dlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (begun_) return;
  begun_ = true;
  QTimer::singleShot(0, this, &recproc_dlg::begin);
}

void recproc_dlg::begin() {
  if (!job_.start()) {
    done(Rejected);
    return;
  }
  QPointer<recproc_dlg> self(this);
  for (level_warning w : job_.warnings()) {
    if (box_)
      box_(this, box_kind::ok_plain, QString::fromLatin1(record_level_caption),
           QString::fromLatin1(level_warning_text(w)));
    if (!self || !isVisible()) return;
  }
  if (job_.running()) idle_.start();
}

void recproc_dlg::step() {
  if (job_.step()) {
    idle_.start();  // the next block at the next idle turn
    return;
  }
  done(job_.succeeded() ? Accepted : Rejected);
}

void recproc_dlg::reject() {
  idle_.stop();
  job_.cancel();
  QDialog::reject();
}

recproc_failure process_recording(QWidget* owner, station& st, rectmp& source, std::int16_t& clip,
                                  std::int32_t& id_serial, const message_box_fn& box) {
  recproc_dlg dlg(st, source, clip, id_serial, box, owner);
  dlg.exec();
  return dlg.failure();
}

recording_processor dialog_processor(QWidget* owner, station& st, message_box_fn box) {
  QPointer<QWidget> guard(owner);
  return [guard, &st, box = std::move(box)](rectmp& source, std::int16_t& clip,
                                            std::int32_t& id_serial) {
    return process_recording(guard.data(), st, source, clip, id_serial, box);
  };
}

}  // namespace zta::ui
