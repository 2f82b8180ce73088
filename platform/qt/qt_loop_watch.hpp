#pragma once
// loop_watch on the calling thread's Qt event loop: QSocketNotifiers and qt_loop_timer.
#include "platform/api/loop_watch.hpp"

namespace zta {

class qt_loop_watch final : public loop_watch {
 public:
  std::unique_ptr<fd_watch> watch(int fd, fd_interest interest,
                                  std::function<void()> ready) override;
  std::unique_ptr<loop_timer> timer() override;
};

}  // namespace zta
