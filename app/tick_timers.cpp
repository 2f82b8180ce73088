#include "app/tick_timers.hpp"

namespace zta {

tick_timers::tick_timers(scheduler_tick& tick, QObject* parent) : QObject(parent), tick_(tick) {}

void tick_timers::arm_all() {
  for (const timer_entry& t : timer_table) arm(t.id, t.first_delay_ms);
}

void tick_timers::arm(int id, int ms) {
  QTimer*& t = timers_[id];
  if (t == nullptr) {
    t = new QTimer(this);
    t->setSingleShot(true);
    t->setTimerType(Qt::PreciseTimer);
    connect(t, &QTimer::timeout, this, [this, id] { fire(id); });
  }
  t->start(ms);
}

void tick_timers::kill(int id) {
  if (auto it = timers_.find(id); it != timers_.end()) it->second->stop();
}

void tick_timers::kill_all() {
  for (auto& [id, t] : timers_) t->stop();
}

bool tick_timers::is_armed(int id) const {
  auto it = timers_.find(id);
  return it != timers_.end() && it->second->isActive();
}

int tick_timers::interval(int id) const {
  auto it = timers_.find(id);
  return it == timers_.end() ? -1 : it->second->interval();
}

void tick_timers::fire(int id) {
  kill(id);
  int period = tick_.on_timer(id);
  if (period > 0) arm(id, period);
}

}  // namespace zta
