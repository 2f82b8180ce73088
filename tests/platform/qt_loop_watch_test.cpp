// The descriptor watches the ALSA backend runs on: readiness reaches the callback from the loop,
// only while enabled.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>

#include "platform/qt/qt_loop_watch.hpp"
#include "platform_helpers.hpp"

namespace zta::test {
namespace {

struct QtLoopWatch : ::testing::Test {
  void SetUp() override { ASSERT_EQ(::pipe(fds), 0); }
  void TearDown() override {
    ::close(fds[0]);
    ::close(fds[1]);
  }
  int argc = 1;
  char arg0[8] = "test";
  char* argv[1] = {arg0};
  QCoreApplication app{argc, argv};
  int fds[2] = {-1, -1};
};

TEST_F(QtLoopWatch, ReadinessReachesTheCallbackFromTheLoopOnlyWhileEnabled) {
  qt_loop_watch loop;
  int calls = 0;
  bool inside_a_call = false;
  std::unique_ptr<fd_watch> w = loop.watch(fds[0], fd_interest::readable, [&] {
    EXPECT_FALSE(inside_a_call);
    ++calls;
  });
  ASSERT_EQ(::write(fds[1], "x", 1), 1);
  // Ready, but disabled: nothing.
  run_loop_until([] { return false; }, 100);
  EXPECT_EQ(calls, 0);
  inside_a_call = true;
  w->set_enabled(true);
  inside_a_call = false;
  EXPECT_EQ(calls, 0) << "called from inside set_enabled";
  ASSERT_TRUE(run_loop_until([&] { return calls >= 2; }, 2000)) << "level-triggered: again";
  w->set_enabled(false);
  const int at_disable = calls;
  run_loop_until([] { return false; }, 100);
  EXPECT_EQ(calls, at_disable);
  // Enabled and then destroyed before the loop runs: nothing more.
  w->set_enabled(true);
  w.reset();
  run_loop_until([] { return false; }, 100);
  EXPECT_EQ(calls, at_disable);
}

TEST_F(QtLoopWatch, AWritableDescriptorAndATimerFromTheSameLoop) {
  qt_loop_watch loop;
  int writable = 0;
  std::unique_ptr<fd_watch> w = loop.watch(fds[1], fd_interest::writable, [&] { ++writable; });
  w->set_enabled(true);
  std::unique_ptr<loop_timer> t = loop.timer();
  bool fired = false;
  t->start(10, [&] { fired = true; });
  EXPECT_TRUE(run_loop_until([&] { return writable > 0 && fired; }, 2000));
}

}  // namespace
}  // namespace zta::test
