#include "platform/qt/qt_timer_set.hpp"

namespace zta {

void qt_timer_set::arm(int id, int ms, timer_accuracy accuracy) {
  auto& t = timers_[id];
  if (t == nullptr) {
    t = std::make_unique<QTimer>();
    t->setSingleShot(true);
    QObject::connect(t.get(), &QTimer::timeout, [this, id] { fire(id); });
  }
  t->setTimerType(accuracy == timer_accuracy::coarse ? Qt::CoarseTimer : Qt::PreciseTimer);
  t->start(ms);
}

void qt_timer_set::set_period_accuracy(int id, timer_accuracy accuracy) {
  period_accuracy_[id] = accuracy;
}

void qt_timer_set::kill(int id) {
  auto it = timers_.find(id);
  if (it != timers_.end()) it->second->stop();
}

void qt_timer_set::kill_all() {
  for (auto& [id, t] : timers_) t->stop();
}

bool qt_timer_set::armed(int id) const {
  auto it = timers_.find(id);
  return it != timers_.end() && it->second->isActive();
}

int qt_timer_set::interval(int id) const {
  auto it = timers_.find(id);
  return it == timers_.end() ? -1 : it->second->interval();
}

timer_accuracy qt_timer_set::accuracy(int id) const {
  auto it = timers_.find(id);
  return it != timers_.end() && it->second->timerType() == Qt::CoarseTimer ? timer_accuracy::coarse
                                                                           : timer_accuracy::exact;
}

void qt_timer_set::fire(int id) {
  kill(id);
  int period = handler_ ? handler_(id) : 0;
  // Someone may have armed or killed it meanwhile; a fresh arming wins over the period.
  if (period > 0 && !armed(id)) {
    auto it = period_accuracy_.find(id);
    arm(id, period, it == period_accuracy_.end() ? timer_accuracy::exact : it->second);
  }
}

}  // namespace zta
