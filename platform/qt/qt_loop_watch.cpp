#include "platform/qt/qt_loop_watch.hpp"

#include <QSocketNotifier>

#include "platform/qt/qt_loop_timer.hpp"

namespace zta {

namespace {

class qt_fd_watch final : public fd_watch {
 public:
  qt_fd_watch(int fd, fd_interest interest, std::function<void()> ready)
      : notifier_(
            fd, interest == fd_interest::readable ? QSocketNotifier::Read : QSocketNotifier::Write),
        ready_(std::move(ready)) {
    notifier_.setEnabled(false);
    QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { ready_(); });
  }
  void set_enabled(bool on) override { notifier_.setEnabled(on); }

 private:
  QSocketNotifier notifier_;
  std::function<void()> ready_;
};

}  // namespace

std::unique_ptr<fd_watch> qt_loop_watch::watch(int fd, fd_interest interest,
                                               std::function<void()> ready) {
  return std::make_unique<qt_fd_watch>(fd, interest, std::move(ready));
}

std::unique_ptr<loop_timer> qt_loop_watch::timer() {
  return std::make_unique<qt_loop_timer>();
}

}  // namespace zta
