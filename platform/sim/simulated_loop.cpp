#include "platform/sim/simulated_loop.hpp"

namespace zta {

simulated_loop::simulated_loop(std::int32_t start, int device_count)
    : start_(start), clock_(start), device_(device_count) {}

void simulated_loop::set_ticks(std::int64_t t) {
  ticks_ = t;
  clock_.set(moment());
}

void simulated_loop::arm(int id, int ms) {
  const std::int64_t due = ticks_ + static_cast<std::int64_t>(ms) * ticks_per_second / 1000;
  auto it = timers_.begin();
  while (it != timers_.end() && it->id < id) ++it;
  if (it != timers_.end() && it->id == id)
    it->due = due;
  else
    timers_.insert(it, armed_timer{id, due});
}

void simulated_loop::kill(int id) {
  for (armed_timer& t : timers_) {
    if (t.id == id) t.due = unarmed;
  }
}

// Starts or ends the device's completion schedule after anything that may have opened, filled
// or stopped it.
void simulated_loop::track_device() {
  if (device_.opens != seen_opens_) {
    seen_opens_ = device_.opens;
    next_done_.reset();
  }
  if (!device_.is_open() || device_.queued() == 0) {
    next_done_.reset();
    return;
  }
  if (!next_done_) {
    next_done_ = ticks_ + static_cast<std::int64_t>(device_.front_frames());
  }
}

void simulated_loop::run_until(std::int64_t end_ticks) {
  track_device();
  for (;;) {
    // The earliest armed timer, the lowest id among equals.
    auto timer = timers_.end();
    std::int64_t due = unarmed;
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (it->due < due) {
        due = it->due;
        timer = it;
      }
    }
    bool have_timer = timer != timers_.end() && due <= end_ticks;
    bool have_done = next_done_ && *next_done_ <= end_ticks;
    if (!have_timer && !have_done) break;
    if (have_done && (!have_timer || *next_done_ <= timer->due)) {
      set_ticks(*next_done_);
      next_done_.reset();
      int opens = device_.opens;
      device_.complete_next();
      if (device_.opens == opens && device_.is_open() && device_.queued() > 0) {
        next_done_ = ticks_ + static_cast<std::int64_t>(device_.front_frames());
      }
      if (on_completion) on_completion();
    } else {
      int id = timer->id;
      set_ticks(timer->due);
      timer->due = unarmed;
      int period = on_timer ? on_timer(id) : 0;
      if (period > 0) arm(id, period);
    }
    track_device();
  }
  set_ticks(end_ticks);
}

}  // namespace zta
