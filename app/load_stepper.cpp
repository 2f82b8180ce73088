#include "app/load_stepper.hpp"

#include <QCoreApplication>
#include <QEventLoop>

namespace zta {

load_stepper::load_stepper(app_context& ctx, QObject* parent) : QObject(parent), ctx_(ctx) {
  idle_.setInterval(0);
  connect(&idle_, &QTimer::timeout, this, &load_stepper::step);
}

load_stepper::~load_stepper() {
  if (target_) *target_ = nullptr;
  if (run_) run_->cancel();
}

void load_stepper::start() {
  load_environment env;
  env.drive_a = ctx_.services.drives->mount_point(0);
  env.drive_b = ctx_.services.drives->mount_point(1);
  env.inet = &ctx_.inet;
  target_ = std::make_shared<load_run*>(nullptr);
  std::weak_ptr<load_run*> weak = target_;
  // Called on the worker thread: only queue the status to the main thread.
  env.post = [weak](ftp_status status, std::int32_t value) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [weak, status, value] {
          if (auto t = weak.lock(); t && *t != nullptr) (*t)->on_ftp_status(status, value);
        },
        Qt::QueuedConnection);
  };
  env.import_wav = default_wav_importer(ctx_.services.decoders.get(), processor);
  run_ = std::make_unique<load_run>(ctx_.st, std::move(env));
  *target_ = run_.get();
  running_ = true;
  run_->start();
  idle_.start();
}

void load_stepper::step() {
  // A step may run a dialog (a WAV import's processing), whose loop must not step again.
  if (!running_ || stepping_) return;
  stepping_ = true;
  bool more = run_->step();
  stepping_ = false;
  QString status = QString::fromStdString(run_->status_text());
  if (status != shown_) {
    shown_ = status;
    emit statusChanged(status);
  }
  if (!more) end();
}

void load_stepper::cancel() {
  if (!running_) return;
  run_->cancel();
  end();
}

void load_stepper::end() {
  idle_.stop();
  running_ = false;
  *target_ = nullptr;
  emit finished(run_->state() == load_state::succeeded);
}

bool run_load_without_window(app_context& ctx) {
  load_stepper stepper(ctx);
  QEventLoop loop;
  bool loaded = false;
  QObject::connect(&stepper, &load_stepper::finished, &loop, [&](bool ok) {
    loaded = ok;
    loop.quit();
  });
  stepper.start();
  if (stepper.running()) loop.exec();
  return loaded;
}

}  // namespace zta
