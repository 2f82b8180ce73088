#include "app/load_stepper.hpp"

#include <QCoreApplication>
#include <QEventLoop>
#include <cstdio>

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
  target_ = std::make_shared<load_stepper*>(nullptr);
  std::weak_ptr<load_stepper*> weak = target_;
  // Called on the worker thread: only queue the status to the main thread.
  env.post = [weak](ftp_status status, std::int32_t value) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [weak, status, value] {
          if (auto t = weak.lock(); t && *t != nullptr) (*t)->ftp_status_arrived(status, value);
        },
        Qt::QueuedConnection);
  };
  env.import_wav = default_wav_importer(ctx_.services.decoders.get(), processor);
  run_ = std::make_unique<load_run>(ctx_.st, std::move(env));
  *target_ = this;
  running_ = true;
  run_->start();
  // Waiting for the worker costs nothing: its status starts the steps.
  if (run_->state() != load_state::waiting_for_ftp) idle_.start();
}

void load_stepper::show_status() {
  QString status = QString::fromStdString(run_->status_text());
  if (status != shown_) {
    shown_ = status;
    emit statusChanged(status);
  }
}

void load_stepper::step() {
  // A step may run a dialog (a WAV import's processing), whose loop must not step again.
  if (!running_ || in_step_) return;
  in_step_ = true;
  bool more = run_->step();
  in_step_ = false;
  show_status();
  if (!more) {
    end();
  } else if (run_->state() == load_state::waiting_for_ftp) {
    idle_.stop();
  }
}

void load_stepper::ftp_status_arrived(ftp_status status, std::int32_t value) {
  if (!running_) return;
  run_->on_ftp_status(status, value);
  show_status();
  if (run_->state() != load_state::waiting_for_ftp) idle_.start();
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
  // Nobody sees a box here: the reason goes to the log of the service.
  if (const load_stop why = stepper.run().stopped(); why != load_stop::none)
    std::fprintf(stderr, "vrxpar: %s %s\n", some_not_loaded_text, load_stop_text(why));
  return loaded;
}

}  // namespace zta
