#pragma once
// The scheduler's one-shot timers on the Qt loop, armed from the tick's table.
#include "app/scheduler/scheduler_tick.hpp"
#include "platform/qt/qt_timer_set.hpp"

namespace zta {

class tick_timers : public qt_timer_set {
 public:
  explicit tick_timers(scheduler_tick& tick)
      : qt_timer_set([&tick](int id) { return tick.on_timer(id); }) {}

  // Arms every timer of the table with its first delay, in the table's order.
  void arm_all() {
    for (const timer_entry& t : timer_table) arm(t.id, t.first_delay_ms);
  }
};

}  // namespace zta
