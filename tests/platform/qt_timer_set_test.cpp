// The one-shot timers the scheduler tick runs on.
#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <vector>

#include "platform/qt/qt_timer_set.hpp"
#include "platform_helpers.hpp"

namespace zta::test {
namespace {

struct QtTimerSet : ::testing::Test {
  int argc = 1;
  char arg0[8] = "test";
  char* argv[1] = {arg0};
  QCoreApplication app{argc, argv};
};

TEST_F(QtTimerSet, RearmsWithTheReturnedPeriodAndNeverRunsAJobTwiceAtOnce) {
  std::map<int, int> fired;
  int depth = 0, deepest = 0;
  qt_timer_set* self = nullptr;
  qt_timer_set timers([&](int id) {
    ++fired[id];
    if (id == 1) {
      EXPECT_FALSE(self->armed(1));  // off while its job runs
      ++depth;
      deepest = std::max(deepest, depth);
      // A nested loop (a modal box) while timer 1's job runs: the others keep firing.
      run_loop_until([&] { return fired[5] >= 2; }, 5000);
      --depth;
      return 5;
    }
    return id == 9 ? 0 : 1;
  });
  self = &timers;
  timers.arm(1, 1);
  timers.arm(5, 1);
  timers.arm(9, 1);
  ASSERT_TRUE(run_loop_until([&] { return fired[1] >= 3; }, 10000));
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(fired[9], 1);  // a period of 0: not armed again
  EXPECT_FALSE(timers.armed(9));
  EXPECT_GE(fired[5], 2);
  timers.kill_all();
  auto before = fired;
  run_loop_until([] { return false; }, 50);
  EXPECT_EQ(fired, before);
}

// Two 500 ms timers re-armed after every job, the way the tick's timers 1 and 5 are, started out
// of step. Kept coarsely they settle on the same wake-ups (no blocking of the loop between their
// jobs) and stay there; each period stays 500 ms within the coarse 5%.
TEST_F(QtTimerSet, CoarsePeriodsOfTwoTimersShareWakeUpsAndKeepTheirLength) {
  using clock = std::chrono::steady_clock;
  struct job {
    clock::time_point at;
    long blocked;  // how often the loop had blocked before the job ran
  };
  constexpr int settle = 11;  // Qt moves a coarse 500 ms timer by at most 25 ms a period
  constexpr int checked = 10;
  long blocked = 0;
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                   [&blocked] { ++blocked; });
  std::map<int, std::vector<job>> jobs;
  QEventLoop loop;
  qt_timer_set timers([&](int id) {
    jobs[id].push_back({clock::now(), blocked});
    if (jobs[1].size() >= settle + checked + 1 && jobs[5].size() >= settle + checked) loop.quit();
    return 500;
  });
  timers.set_period_accuracy(1, timer_accuracy::coarse);
  timers.set_period_accuracy(5, timer_accuracy::coarse);
  timers.arm(1, 20);
  timers.arm(5, 200);
  QTimer::singleShot(30000, &loop, &QEventLoop::quit);
  loop.exec();
  timers.kill_all();
  ASSERT_GE(jobs[5].size(), static_cast<std::size_t>(settle + checked));

  int shared = 0;
  for (int k = settle; k < settle + checked; ++k) {
    const long b = jobs[5][static_cast<std::size_t>(k)].blocked;
    shared += static_cast<int>(
        std::ranges::any_of(jobs[1], [b](const job& j) { return j.blocked == b; }));
  }
  // A loaded machine may now and then run one of the two a millisecond apart.
  EXPECT_GE(shared, checked - 2);

  for (const int id : {1, 5}) {
    std::vector<long> periods_ms;
    const auto& js = jobs[id];
    for (std::size_t k = 1; k < js.size(); ++k) {
      periods_ms.push_back(static_cast<long>(
          std::chrono::duration_cast<std::chrono::milliseconds>(js[k].at - js[k - 1].at).count()));
    }
    SCOPED_TRACE(id);
    // Never early by more than the slop; late only by what the machine's load adds.
    EXPECT_GE(*std::ranges::min_element(periods_ms), 474);
    std::ranges::nth_element(periods_ms,
                             periods_ms.begin() + static_cast<long>(periods_ms.size() / 2));
    EXPECT_LE(periods_ms[periods_ms.size() / 2], 526);
  }
}

}  // namespace
}  // namespace zta::test
