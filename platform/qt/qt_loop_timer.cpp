#include "platform/qt/qt_loop_timer.hpp"

namespace zta {

qt_loop_timer::qt_loop_timer() {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    // A copy: the callback may start the timer again with another one.
    std::function<void()> run = callback_;
    if (run) run();
  });
}

void qt_loop_timer::start(int ms, std::function<void()> callback) {
  callback_ = std::move(callback);
  timer_.start(ms < 0 ? 0 : ms);
}

}  // namespace zta
