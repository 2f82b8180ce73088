#pragma once
// A one-shot timer on the event loop of the thread that made it, for backends that pace
// themselves (the simulated devices).
//
// Contract (every implementation keeps it):
// - Every call is made on the thread that runs the event loop; the callback runs there, from the
//   event loop, never from inside a call of this interface.
// - start() (re)arms the timer: only the latest callback runs, once, `ms` milliseconds later or as
//   soon after as the loop gets to it (0: at its next turn).
// - stop(), and destroying the timer, cancel a pending callback.
// - The callback may call start() or stop() of the same timer.
#include <functional>

namespace zta {

class loop_timer {
 public:
  virtual ~loop_timer() = default;
  virtual void start(int ms, std::function<void()> callback) = 0;
  virtual void stop() = 0;
  virtual bool active() const = 0;
};

}  // namespace zta
