#pragma once
// The scheduler's one-shot timers on the Qt loop, armed from the tick's table.
#include "app/scheduler/scheduler_tick.hpp"
#include "platform/qt/qt_timer_set.hpp"

namespace zta {

class tick_timers : public qt_timer_set {
 public:
  explicit tick_timers(scheduler_tick& tick)
      : qt_timer_set([&tick](int id) { return tick.on_timer(id); }) {}

  // Arms every timer of the table with its first delay, in the table's order. The first delays
  // are kept exactly. The 500 ms periods are kept coarsely: timers 1 and 5 each count theirs
  // from the end of their own job, so exact periods drift apart by the jobs' durations and an
  // idle player would wake four times a second instead of twice; a coarse period (within 25 ms)
  // lets Qt put both on the same half-second boundaries, where they run in one wake-up.
  void arm_all() {
    for (const timer_entry& t : timer_table) {
      arm(t.id, t.first_delay_ms);
      if (t.period_ms == shared_period_ms) set_period_accuracy(t.id, timer_accuracy::coarse);
    }
  }

  static constexpr int shared_period_ms = 500;
};

}  // namespace zta
