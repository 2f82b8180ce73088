// The one-shot timers the scheduler tick runs on.
#include <gtest/gtest.h>

#include <QCoreApplication>

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

}  // namespace
}  // namespace zta::test
