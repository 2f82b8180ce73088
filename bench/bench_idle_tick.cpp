// What one idle 500 ms tick costs the player's own code: the two 500 ms timer jobs (schedule pass
// and remote poll) on an empty list with the system clock, and the clock reading alone beside a
// plain localtime_r (what the reading cost before it kept the zone's offset for the minute).
#include <benchmark/benchmark.h>

#include <ctime>
#include <string>

#include "app/scheduler/scheduler_tick.hpp"
#include "platform/sim/recording_aux_mixer.hpp"
#include "platform/sim/system_wall_clock.hpp"
#include "platform/sim/test_wave_out.hpp"

namespace {

using namespace zta;

struct quiet_callouts final : tick_callouts {
  void show_notice(const std::string&) override {}
  bool run_automatic_update() override { return false; }
  void close_splash() override {}
};

void idle_tick(benchmark::State& state) {
  station st("./", 0);
  st.settings.sound_out_device = 0;
  test_wave_out device;
  recording_aux_mixer mixer;
  announcement_player player(st, device, mixer, &no_play_log);
  remote_folder remote;
  quiet_callouts callouts;
  system_wall_clock clock;
  scheduler_tick tick(st, player, remote, clock, callouts);
  st.clock.set(clock.local_now());
  tick.set_up();
  for (auto _ : state) {
    benchmark::DoNotOptimize(tick.on_timer(timer_schedule));
    benchmark::DoNotOptimize(tick.on_timer(timer_remote));
  }
}

void clock_reading(benchmark::State& state) {
  system_wall_clock clock;
  for (auto _ : state) benchmark::DoNotOptimize(clock.local_now());
}

void peer_localtime_r(benchmark::State& state) {
  for (auto _ : state) {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    benchmark::DoNotOptimize(local.tm_gmtoff);
  }
}

}  // namespace

BENCHMARK(idle_tick);
BENCHMARK(clock_reading);
BENCHMARK(peer_localtime_r);
BENCHMARK_MAIN();
