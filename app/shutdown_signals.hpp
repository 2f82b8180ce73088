#pragma once
// SIGTERM, SIGINT and SIGHUP turned into a call on the event loop (a self-pipe watched by a
// QSocketNotifier), so the program can save and end in an orderly way.
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace zta {

class shutdown_signals : public QObject {
  Q_OBJECT
 public:
  explicit shutdown_signals(std::function<void()> on_signal, QObject* parent = nullptr);
  ~shutdown_signals() override;

 private:
  std::function<void()> on_signal_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zta
