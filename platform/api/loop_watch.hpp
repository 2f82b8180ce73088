#pragma once
// What a backend driven by its device's poll descriptors (ALSA) needs of the event loop of the
// thread that made it: watches on file descriptors and one-shot timers. The backend stays free of
// the loop's library; the program hands it the loop it runs.
//
// Contract (every implementation keeps it):
// - Every call is made on the thread that runs the event loop; callbacks run there, from the
//   event loop, never from inside a call of this interface.
// - A watch starts disabled. While enabled, its callback runs whenever the descriptor is ready for
//   what was asked, at each turn of the loop for as long as it stays ready.
// - Disabling a watch, and destroying it, stop its callbacks. A watch must outlive a running
//   callback of its own: a callback that no longer wants it disables it and lets it go later.
// - Timers keep the contract of loop_timer.hpp.
#include <functional>
#include <memory>

#include "platform/api/loop_timer.hpp"

namespace zta {

enum class fd_interest { readable, writable };

class fd_watch {
 public:
  virtual ~fd_watch() = default;
  virtual void set_enabled(bool on) = 0;
};

class loop_watch {
 public:
  virtual ~loop_watch() = default;
  virtual std::unique_ptr<fd_watch> watch(int fd, fd_interest interest,
                                          std::function<void()> ready) = 0;
  virtual std::unique_ptr<loop_timer> timer() = 0;
};

}  // namespace zta
