// Play start latency: from Play (the player asked to play an announcement) or from a remote
// request being taken (the remote poll that finds it), to the first buffer queued on the device,
// and, on ALSA, to the first frame the device has consumed. Run with the simulated device and
// with the ALSA backend ("default", which goes to PulseAudio when PULSE_SERVER is set; the bench
// script starts a headless one with a null sink). Without a usable ALSA device those runs are
// skipped with a note.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "announcements/clip_files.hpp"
#include "announcements/remote_folder.hpp"
#include "app/scheduler/scheduler_tick.hpp"
#include "audio/announcement_player.hpp"
#include "platform/alsa/alsa_wave_out.hpp"
#include "platform/backends/audio_backends.hpp"
#include "platform/sim/system_wall_clock.hpp"

namespace {

using namespace zta;
using steady = std::chrono::steady_clock;

double ms_since(steady::time_point t0, steady::time_point t) {
  return std::chrono::duration<double, std::milli>(t - t0).count();
}

// Passes everything on; notes when the first buffer was queued.
class timing_wave_out final : public wave_out {
 public:
  explicit timing_wave_out(wave_out& inner) : inner_(inner) {}
  std::vector<std::string> device_names() const override { return inner_.device_names(); }
  bool open(int index, const wave_format& f, wave_out_listener& l) override {
    return inner_.open(index, f, l);
  }
  bool is_open() const override { return inner_.is_open(); }
  void prepare(wave_header& h) override { inner_.prepare(h); }
  void unprepare(wave_header& h) override { inner_.unprepare(h); }
  bool write(wave_header& h) override {
    const bool ok = inner_.write(h);
    if (ok && !first_write) first_write = steady::now();
    return ok;
  }
  void reset() override { inner_.reset(); }
  void close() override { inner_.close(); }
  void set_volume(std::uint32_t w) override { inner_.set_volume(w); }
  bool wants_samples() const override { return inner_.wants_samples(); }

  std::optional<steady::time_point> first_write;

 private:
  wave_out& inner_;
};

struct quiet_callouts final : tick_callouts {
  void show_notice(const std::string&) override {}
  bool run_automatic_update() override { return false; }
  void close_splash() override {}
};

struct bench_folder {
  std::filesystem::path dir;
  bench_folder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zta-bench-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    dir = tmpl;
    std::filesystem::create_directories(dir / "data");
    std::filesystem::create_directories(dir / "control");
    std::filesystem::create_directories(dir / "sim");
  }
  ~bench_folder() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

enum class trigger { play, request };

// One start per iteration; counters: milliseconds to the first buffer queued and (ALSA) to the
// first frame consumed.
void play_start(benchmark::State& state, const char* backend, trigger how) {
  bench_folder folder;
  const std::string spec =
      std::string(backend) == "sim" ? "sim:" + (folder.dir / "sim").string() : std::string(backend);
  audio_devices devices;
  std::string error;
  if (!make_audio_devices(spec.c_str(), devices, error) || devices.out == nullptr) {
    state.SkipWithError(("no " + spec + " device: " + error).c_str());
    return;
  }
  auto* alsa = dynamic_cast<alsa_wave_out*>(devices.out.get());
  station st((folder.dir / "data").string() + "/", 0);
  system_wall_clock clock;
  st.clock.set(clock.local_now());
  st.settings.sound_out_device = 0;
  st.settings.chimes = 0;
  ann_blk a;
  a.set_name("Latency");
  a.clip = 0;
  a.expiry = moment_never;
  a.day_to = seconds_per_day;
  a.weekdays = every_day;
  st.content.list.push_back(a);
  st.clip_use[0] = clip_allocated;
  std::ofstream(clip_path(st, 0), std::ios::binary) << std::string(10 * 44100, '\1');

  timing_wave_out device(*devices.out);
  announcement_player player(st, device, *devices.mixer, &no_play_log);
  remote_folder remote;
  quiet_callouts callouts;
  scheduler_tick tick(st, player, remote, clock, callouts);
  const std::string control = (folder.dir / "control").string();
  if (how == trigger::request && remote.set_control_folder(st, control) != folder_result::on) {
    state.SkipWithError("control folder refused");
    return;
  }

  double queued = 0, consumed = 0, heard = 0;
  int runs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    player.stop();
    device.first_write.reset();
    if (how == trigger::request) {
      // A whole request (kind 1, by name; the name from byte 6), so it is taken at once.
      std::string bytes(request_size, '\0');
      bytes[0] = 1;
      bytes.replace(6, 7, "Latency");
      std::ofstream(control + "/latency.ply", std::ios::binary) << bytes;
    }
    state.ResumeTiming();
    const auto t0 = steady::now();
    if (how == trigger::play)
      player.play_announcement(&st.content.list[0]);
    else
      tick.remote_poll();
    state.PauseTiming();
    if (!device.first_write) {
      state.SkipWithError("nothing was queued");
      break;
    }
    queued += ms_since(t0, *device.first_write);
    if (alsa != nullptr) {
      // The event loop runs as in the program while we watch the device's read position.
      // Two views: the ring's read position (in the steps the PCM reports it) and the written
      // frames less the PCM's own delay.
      const auto limit = t0 + std::chrono::seconds(2);
      std::optional<steady::time_point> first_consumed, first_heard;
      while ((!first_consumed || !first_heard) && steady::now() < limit) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (!first_consumed && alsa->frames_consumed() > 0) first_consumed = steady::now();
        if (!first_heard && alsa->frames_heard() > 0) first_heard = steady::now();
      }
      consumed += ms_since(t0, first_consumed.value_or(limit));
      heard += ms_since(t0, first_heard.value_or(limit));
    }
    ++runs;
    state.ResumeTiming();
  }
  player.stop();
  if (runs > 0) {
    state.counters["to_queued_ms"] = queued / runs;
    if (alsa != nullptr) {
      state.counters["to_consumed_ms"] = consumed / runs;
      state.counters["to_heard_ms"] = heard / runs;
    }
  }
}

// One start each in a smoke run.
const int starts = std::getenv("ZTA_BENCH_SMOKE") != nullptr ? 1 : 10;

}  // namespace

BENCHMARK_CAPTURE(play_start, play_sim, "sim", trigger::play)->Iterations(starts);
BENCHMARK_CAPTURE(play_start, request_sim, "sim", trigger::request)->Iterations(starts);
BENCHMARK_CAPTURE(play_start, play_alsa, "alsa", trigger::play)->Iterations(starts);
BENCHMARK_CAPTURE(play_start, request_alsa, "alsa", trigger::request)->Iterations(starts);

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
