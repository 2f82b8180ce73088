// `zta preview` of a week and of a year of a 127-announcement schedule, whole process: the wall
// time of one run each, its lines and a hash of its output (to compare two builds' output).
// With ZTA_BENCH_SMOKE set the spans are a day and two days.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/common/busy_schedule.hpp"

namespace {

constexpr std::int32_t day0 = 1699920000;  // Tuesday 2023-11-14

struct schedule_folder {
  std::string dir;
  schedule_folder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zta-bench-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    dir = tmpl;
    zta::test::write_busy_schedule(dir, day0);
  }
  ~schedule_folder() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

void preview(benchmark::State& state, const char* to, const char* smoke_to) {
  static schedule_folder folder;
  const char* end = std::getenv("ZTA_BENCH_SMOKE") != nullptr ? smoke_to : to;
  const std::string command = std::string(ZTA_TOOL) + " preview --data '" + folder.dir +
                              "' --from '2023-11-14 00:00:00' --to '" + end + "'";
  std::uint64_t hash = 0;
  double lines = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    std::FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr) {
      state.SkipWithError("cannot run zta");
      return;
    }
    hash = 0xcbf29ce484222325u;
    lines = 0;
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) {
      for (std::size_t i = 0; i < n; ++i) {
        hash = (hash ^ static_cast<unsigned char>(buf[i])) * 0x100000001b3u;
        if (buf[i] == '\n') ++lines;
      }
    }
    if (::pclose(p) != 0) {
      state.SkipWithError("zta preview failed");
      return;
    }
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  state.counters["lines"] = lines;
  state.SetLabel("output hash " + std::to_string(hash));
}

}  // namespace

BENCHMARK_CAPTURE(preview, week, "2023-11-21 00:00:00", "2023-11-15 00:00:00")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(preview, year, "2024-11-14 00:00:00", "2023-11-16 00:00:00")
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
