#pragma once
// The scheduler's one-shot timers on the Qt loop: one QTimer per identifier, stopped when it
// fires, and armed again with the period the tick's job returns, counted from the job's end.
#include <QObject>
#include <QTimer>
#include <map>

#include "app/scheduler/scheduler_tick.hpp"

namespace zta {

class tick_timers : public QObject {
  Q_OBJECT
 public:
  tick_timers(scheduler_tick& tick, QObject* parent = nullptr);

  // Arms every timer of the table with its first delay, in the table's order.
  void arm_all();
  void arm(int id, int ms);
  void kill(int id);
  void kill_all();
  bool is_armed(int id) const;
  int interval(int id) const;  // the delay it was last armed with; -1 when never armed
  // Runs timer `id`'s job now, as if it fired (tests).
  void fire(int id);

 private:
  scheduler_tick& tick_;
  std::map<int, QTimer*> timers_;
};

}  // namespace zta
