#pragma once
// Runs one load (load_run) on the event loop: one step per idle turn (a zero-timeout timer), the
// FTP worker's statuses queued to the main thread. While the worker is awaited nothing runs: its
// status wakes the steps again. The progress dialog shows it; the headless
// player waits for it in a local loop.
#include <QObject>
#include <QTimer>
#include <memory>

#include "app/app_context.hpp"
#include "loading/load_run.hpp"

namespace zta {

class load_stepper : public QObject {
  Q_OBJECT
 public:
  explicit load_stepper(app_context& ctx, QObject* parent = nullptr);
  ~load_stepper() override;

  // Starts by the stored load method; finished() follows (never from inside start()).
  void start();
  void cancel();
  bool running() const { return running_; }
  // Whether a step runs at every idle turn (not while the FTP worker is awaited).
  bool stepping() const { return idle_.isActive(); }
  const load_run& run() const { return *run_; }

  // How a WAV import's processing runs (a dialog with its level warnings); empty: in the import's
  // own steps.
  recording_processor processor;

 signals:
  void statusChanged(const QString& text);
  void finished(bool loaded);

 private:
  void step();
  void ftp_status_arrived(ftp_status status, std::int32_t value);
  void show_status();
  void end();

  app_context& ctx_;
  std::unique_ptr<load_run> run_;
  std::shared_ptr<load_stepper*> target_;  // what FTP statuses are delivered to; none once ended
  QTimer idle_;
  bool running_ = false;
  bool in_step_ = false;
  QString shown_;
};

// Runs a load to its end in a local event loop, without a window; true when it loaded.
bool run_load_without_window(app_context& ctx);

}  // namespace zta
