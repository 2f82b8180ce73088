#pragma once
// loop_timer on a precise single-shot QTimer of the calling thread's event loop.
#include <QTimer>
#include <functional>

#include "platform/api/loop_timer.hpp"

namespace zta {

class qt_loop_timer final : public loop_timer {
 public:
  qt_loop_timer();
  void start(int ms, std::function<void()> callback) override;
  void stop() override { timer_.stop(); }
  bool active() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
  std::function<void()> callback_;
};

}  // namespace zta
