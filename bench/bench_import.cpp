// A whole import of a 10-minute 44.1 kHz stereo WAV file: read, first channel, conversion to
// 22050 Hz, rectmp, processing, clip. The file is generated in a temporary folder at start.
// With ZTA_BENCH_SMOKE set (the test command's smoke run) it lasts ten seconds and runs once.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "announcements/clip_files.hpp"
#include "audio/import_wav.hpp"
#include "base/byte_codec.hpp"

namespace {

bool smoke() {
  return std::getenv("ZTA_BENCH_SMOKE") != nullptr;
}

struct bench_folder {
  std::string dir;
  std::string wav;
  bench_folder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zta-bench-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    dir = tmpl + "/";
    wav = dir + "ten minutes.wav";
    const std::uint32_t rate = 44100, frames = rate * (smoke() ? 10 : 600);
    std::FILE* f = std::fopen(wav.c_str(), "wb");
    if (f == nullptr) std::abort();
    std::vector<std::uint8_t> b;
    zta::byte_writer w(b);
    const std::uint32_t data = frames * 4;
    w.bytes("RIFF", 4), w.u32(36 + data), w.bytes("WAVE", 4);
    w.bytes("fmt ", 4), w.u32(16), w.u16(1), w.u16(2), w.u32(rate), w.u32(rate * 4), w.u16(4),
        w.u16(16);
    w.bytes("data", 4), w.u32(data);
    std::fwrite(b.data(), 1, b.size(), f);
    // Speech-like: a tone whose level swells and fades every few seconds.
    std::vector<std::uint8_t> chunk;
    for (std::uint32_t i = 0; i < frames; ++i) {
      const double t = i / static_cast<double>(rate);
      const double env = 0.5 + 0.5 * std::sin(2 * M_PI * 0.3 * t);
      const auto s = static_cast<std::int16_t>(14000 * env * std::sin(2 * M_PI * 440 * t));
      zta::byte_writer cw(chunk);
      cw.i16(s), cw.i16(static_cast<std::int16_t>(-s));
      if (chunk.size() >= 1 << 16) {
        std::fwrite(chunk.data(), 1, chunk.size(), f);
        chunk.clear();
      }
    }
    std::fwrite(chunk.data(), 1, chunk.size(), f);
    std::fclose(f);
    // The rectmp's temporary file goes in the current directory.
    if (::chdir(dir.c_str()) != 0) std::abort();
  }
  ~bench_folder() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

void import_ten_minutes(benchmark::State& state) {
  static bench_folder folder;
  std::int32_t samples = 0;
  for (auto _ : state) {
    zta::station st(folder.dir);
    const int i = zta::import_wav(st, folder.wav);
    if (i < 0) {
      state.SkipWithError("import failed");
      break;
    }
    samples = st.content.list[i].id_serial;
    state.PauseTiming();
    zta::delete_clip(st, st.content.list[i].clip);
    state.ResumeTiming();
  }
  state.counters["clip_samples"] = samples;
}

}  // namespace

BENCHMARK(import_ten_minutes)->Unit(benchmark::kMillisecond)->Iterations(smoke() ? 1 : 3);
BENCHMARK_MAIN();
