// A simulated day of a busy schedule: the scheduler tick and the player on the simulated loop, as
// `zta preview` runs them (sequence play every minute, every-15-minutes and fixed-time
// announcements, chimes, balanced output).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "announcements/clip_files.hpp"
#include "app/scheduler/scheduler_tick.hpp"
#include "platform/sim/recording_aux_mixer.hpp"
#include "platform/sim/simulated_loop.hpp"

namespace {

using namespace zta;
constexpr std::int32_t day0 = 1699920000;

struct quiet_callouts final : tick_callouts {
  void show_notice(const std::string&) override {}
  bool run_automatic_update() override { return false; }
  void close_splash() override {}
  void started(start_trigger, int) override { ++starts; }
  long starts = 0;
};

void fill_station(station& st) {
  st.settings.sound_out_device = 0;
  st.settings.balanced = 1;
  st.settings.chimes = 3;
  st.settings.sequence_interval = 1;
  std::ofstream(chime_path(st, 3), std::ios::binary) << std::string(2 * 44100, '\3');
  for (int i = 0; i < 90; ++i) {
    ann_blk a;
    a.set_name("Busy " + std::to_string(i));
    a.clip = static_cast<std::int16_t>(i);
    a.expiry = moment_never;
    a.day_to = seconds_per_day;
    a.weekdays = every_day;
    a.chimes = 1;
    int seconds = 5;
    if (i < 40) {
      a.autoplay = -1, seconds = 10;
    } else if (i < 60) {
      a.autoplay = 15, seconds = 20;
    } else {
      for (int k = 0; k < 10; ++k) a.fixed_times.push_back((i * 997 + k * 8111) % seconds_per_day);
    }
    std::ofstream(clip_path(st, i), std::ios::binary) << std::string(seconds * 44100, '\1');
    st.clip_use[static_cast<std::size_t>(i)] = clip_allocated;
    st.content.list.push_back(a);
  }
}

void BM_PreviewBusyDay(benchmark::State& state) {
  auto dir = std::filesystem::temp_directory_path() / "zta-bench-preview";
  std::filesystem::create_directories(dir);
  station st(dir.string(), day0);
  fill_station(st);
  long starts = 0;
  for (auto _ : state) {
    st.clock.set(day0);
    simulated_loop loop(day0, 128);
    loop.device().keep_written = false;
    recording_aux_mixer mixer;
    announcement_player player(st, loop.device(), mixer, &no_play_log);
    remote_folder remote;
    quiet_callouts calls;
    scheduler_tick tick(st, player, remote, loop.clock(), calls);
    tick.set_up();
    for (const timer_entry& t : timer_table) loop.arm(t.id, t.first_delay_ms);
    loop.on_timer = [&](int id) { return tick.on_timer(id); };
    // The test command's smoke run (ZTA_BENCH_SMOKE) simulates two hours of the day only.
    const std::int64_t seconds = std::getenv("ZTA_BENCH_SMOKE") != nullptr ? 7200 : seconds_per_day;
    loop.run_until(seconds * simulated_loop::ticks_per_second);
    starts = calls.starts;
  }
  state.counters["starts"] = static_cast<double>(starts);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PreviewBusyDay)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
