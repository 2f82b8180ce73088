// The simulated event loop's timers: what fires when, after kills and re-arms from the callbacks.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/sim/simulated_loop.hpp"

namespace zta {
namespace {

// Each arm counts from the present tick, cutting its milliseconds to whole ticks.
std::int64_t at_ms(int n) {
  return static_cast<std::int64_t>(n) * simulated_loop::ticks_per_second / 1000;
}

// Timer 1 every 100 ms, killed by timer 3 at 250 ms and armed again by timer 3 at 400 ms; timer 2
// once at 100 ms, the same instant as timer 1 (lower id first); timer 4 kills itself from its own
// callback before asking for a period, which still re-arms it (the result wins).
TEST(SimulatedLoop, TimersFollowKillsAndRearmsFromCallbacks) {
  simulated_loop loop(1700000000);
  std::vector<std::pair<int, std::int64_t>> fired;
  int third = 0;
  loop.on_timer = [&](int id) {
    fired.emplace_back(id, loop.ticks());
    switch (id) {
      case 1:
        return 100;
      case 3:
        if (++third == 1) {
          loop.kill(1);
          loop.kill(7);  // never armed: nothing happens
          return 150;
        }
        loop.arm(1, 50);
        return 0;
      case 4:
        loop.kill(4);
        return 300;
      default:
        return 0;
    }
  };
  loop.arm(3, 250);
  loop.arm(1, 100);
  loop.arm(2, 100);
  loop.arm(4, 320);
  loop.kill(2);
  loop.arm(2, 100);
  loop.run_until(at_ms(700));
  const std::int64_t back = at_ms(250) + at_ms(150) + at_ms(50);  // timer 1 armed again
  const std::vector<std::pair<int, std::int64_t>> expected = {
      {1, at_ms(100)},
      {2, at_ms(100)},
      {1, at_ms(200)},
      {3, at_ms(250)},
      {4, at_ms(320)},
      {3, at_ms(250) + at_ms(150)},
      {1, back},
      {1, back + at_ms(100)},
      {4, at_ms(320) + at_ms(300)},
      {1, back + 2 * at_ms(100)},
  };
  EXPECT_EQ(fired, expected);
  EXPECT_EQ(loop.ticks(), at_ms(700));
}

}  // namespace
}  // namespace zta
