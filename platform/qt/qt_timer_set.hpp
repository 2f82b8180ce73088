#pragma once
// One-shot Qt timers by identifier, the way the scheduler tick wants them: a timer is off once it
// has fired, its handler runs (possibly a nested loop: a modal box), and only then is it armed
// again, with the period the handler returned (0 or less: not again). So a job never runs twice
// at once and each period counts from the end of the job. app/tick_timers.hpp arms the scheduler
// tick's table with it.
#include <functional>
#include <map>
#include <memory>

#include <QTimer>

namespace zta {

// How closely a delay is kept.
enum class timer_accuracy {
  exact,   // to the millisecond
  coarse,  // within 5% of it (25 ms of 500 ms): Qt moves coarse timers onto shared boundaries
           // (500 ms ones onto the half-seconds of the monotonic clock), so they wake us together
};

class qt_timer_set {
 public:
  explicit qt_timer_set(std::function<int(int id)> handler) : handler_(std::move(handler)) {}

  // (Re)arms timer `id` to fire once `ms` milliseconds from now.
  void arm(int id, int ms, timer_accuracy accuracy = timer_accuracy::exact);
  // How closely timer `id` keeps the periods its handler returns (exact until set).
  void set_period_accuracy(int id, timer_accuracy accuracy);
  void kill(int id);
  void kill_all();
  bool armed(int id) const;
  int interval(int id) const;             // the delay it was last armed with; -1 when never armed
  timer_accuracy accuracy(int id) const;  // how closely that delay is kept (exact: never armed)
  // Runs timer `id`'s job now, as if it had fired (also what a firing timer does).
  void fire(int id);

 private:
  std::function<int(int)> handler_;
  std::map<int, std::unique_ptr<QTimer>> timers_;  // kept for good: one may be firing
  std::map<int, timer_accuracy> period_accuracy_;
};

}  // namespace zta
