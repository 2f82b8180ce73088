#pragma once
// Shared pieces of the platform tests: a data folder with a chime and a clip, and running the Qt
// loop until something happened.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "announcements/clip_files.hpp"
#include "announcements/station.hpp"
#include "platform/qt/qt_loop_watch.hpp"

namespace zta::test {

namespace fs = std::filesystem;

// The event loop of the test's thread, as the ALSA backend is handed it.
inline std::shared_ptr<loop_watch> qt_loop() {
  return std::make_shared<qt_loop_watch>();
}

inline fs::path fresh_dir(const std::string& prefix) {
  auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  fs::path dir = fs::path(::testing::TempDir()) /
                 (prefix + "-" + info->test_suite_name() + "-" + info->name());
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

inline std::vector<std::uint8_t> ramp(std::size_t samples, int start, int step) {
  std::vector<std::uint8_t> b;
  for (std::size_t i = 0; i < samples; ++i) {
    auto s = static_cast<std::uint16_t>(start + static_cast<int>(i) * step);
    b.push_back(static_cast<std::uint8_t>(s));
    b.push_back(static_cast<std::uint8_t>(s >> 8));
  }
  return b;
}

inline void write_bytes(const fs::path& p, const std::vector<std::uint8_t>& b) {
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

inline std::vector<std::uint8_t> read_bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Runs the Qt loop until `done` holds or `timeout_ms` passed; returns `done()`.
inline bool run_loop_until(const std::function<bool()>& done, int timeout_ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < timeout_ms) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  }
  return done();
}

// A station whose data folder holds "chimes2.aud" and clip 0, and an announcement that plays both.
struct programme {
  explicit programme(const fs::path& dir, std::size_t chime_samples = 3000,
                     std::size_t clip_samples = 10000) {
    fs::create_directories(dir / "data");
    st.data_folder = (dir / "data").string() + "/";
    st.clock.set(1700000000);
    st.settings.sound_out_device = 0;
    st.settings.announcement_level = 100;
    st.settings.chimes = 2;
    chime = ramp(chime_samples, -20000, 13);
    clip = ramp(clip_samples, 500, -7);
    write_bytes(chime_path(st, 2), chime);
    write_bytes(clip_path(st, 0), clip);
    ann.set_name("Test");
    ann.clip = 0;
    ann.chimes = 1;
    st.clip_use[0] = clip_allocated;
  }
  // Chime, clip, silence to `blocks` blocks of 8192 samples.
  std::vector<std::uint8_t> expected(std::size_t blocks) const {
    std::vector<std::uint8_t> e = chime;
    e.insert(e.end(), clip.begin(), clip.end());
    e.resize(blocks * 16384, 0);
    return e;
  }

  station st;
  ann_blk ann;
  std::vector<std::uint8_t> chime, clip;
};

inline std::vector<std::uint8_t> balanced(const std::vector<std::uint8_t>& mono) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i + 1 < mono.size(); i += 2) {
    auto s = static_cast<std::uint16_t>(mono[i] | mono[i + 1] << 8);
    auto n = static_cast<std::uint16_t>(0u - s);
    out.insert(out.end(), {mono[i], mono[i + 1], static_cast<std::uint8_t>(n),
                           static_cast<std::uint8_t>(n >> 8)});
  }
  return out;
}

}  // namespace zta::test
