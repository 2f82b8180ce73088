#pragma once
// A deterministic stand-in for the event loop and the sound card, on a simulated clock: one-shot
// timers by identifier, and a device that completes each queued buffer one buffer's playing time
// after the previous one (the first one buffer after the device was opened). Used by the schedule
// preview and by tests that run the scheduler over hours in milliseconds.
//
// Ordering at the same instant: a buffer completion comes before any timer, and timers fire in
// increasing identifier.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/sim/fixed_wall_clock.hpp"
#include "platform/sim/test_wave_out.hpp"

namespace zta {

class simulated_loop {
 public:
  // Time is counted in ticks of 1/22050 s from `start` (a moment on the `now` scale).
  static constexpr std::int64_t ticks_per_second = 22050;

  explicit simulated_loop(std::int32_t start, int device_count = 1);

  // Arms (or re-arms) timer `id` to fire `ms` milliseconds from the present instant.
  void arm(int id, int ms);
  void kill(int id);
  // Called for each timer that fires, after the clock was moved to its instant; the timer is
  // already killed. A result > 0 arms it again with that many milliseconds.
  std::function<int(int id)> on_timer;
  // Called after each buffer completion (the player has already seen it).
  std::function<void()> on_completion;

  // Runs events up to and including `end_ticks`; the clock ends there.
  void run_until(std::int64_t end_ticks);

  std::int64_t ticks() const { return ticks_; }
  std::int32_t start() const { return start_; }
  // The moment of the present instant, whole seconds.
  std::int32_t moment() const {
    return start_ + static_cast<std::int32_t>(ticks_ / ticks_per_second);
  }
  const wall_clock& clock() const { return clock_; }
  test_wave_out& device() { return device_; }

 private:
  void set_ticks(std::int64_t t);
  void track_device();

  std::int32_t start_;
  std::int64_t ticks_ = 0;
  fixed_wall_clock clock_;
  test_wave_out device_;
  struct armed_timer {
    int id;
    std::int64_t due;  // tick, or unarmed
  };
  static constexpr std::int64_t unarmed = INT64_MAX;
  // In increasing id; a handful of timers re-armed on every event, so a flat list that keeps an
  // entry for every id ever armed (a killed one is unarmed, not removed): nothing moves or
  // allocates per event (a map allocated and freed a node per event).
  std::vector<armed_timer> timers_;
  std::optional<std::int64_t> next_done_;
  int seen_opens_ = 0;
};

}  // namespace zta
