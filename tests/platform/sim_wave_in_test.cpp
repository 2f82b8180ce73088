// The simulated sound card's input: what it records from DIR/wave_in.wav, how it paces and hands
// buffers back, and the backend choice that makes it.
#include "platform/sim/sim_wave_in.hpp"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <deque>

#include "platform/backends/audio_backends.hpp"
#include "platform/qt/qt_loop_timer.hpp"
#include "platform_helpers.hpp"
#include "tests/audio/wav_builder.hpp"

namespace zta::test {
namespace {

class SimWaveIn : public ::testing::Test, public wave_in_listener {
 protected:
  void SetUp() override {
    dir = fresh_dir("sim-in");
    folder = dir.string() + "/";
  }
  void buffer_filled(wave_in_header& h) override {
    EXPECT_EQ(h.flags & wave_done, wave_done);
    EXPECT_EQ(h.flags & wave_in_queue, 0u);
    filled.push_back(&h);
    if (requeue) device->add_buffer(h);
  }
  // Records `count` buffers of `bytes` through a fresh device; returns their contents in order.
  std::vector<std::vector<std::uint8_t>> record(int count, std::uint32_t bytes, double speed) {
    sim_wave_in in(folder, speed, std::make_unique<qt_loop_timer>());
    device = &in;
    EXPECT_TRUE(in.open(0, wave_format{1, 22050}, *this));
    std::vector<std::vector<std::uint8_t>> memory(static_cast<std::size_t>(count),
                                                  std::vector<std::uint8_t>(bytes, 0xAA));
    std::vector<wave_in_header> headers(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      headers[static_cast<std::size_t>(i)] = {memory[static_cast<std::size_t>(i)].data(), bytes, 0,
                                              0};
      in.add_buffer(headers[static_cast<std::size_t>(i)]);
    }
    EXPECT_TRUE(in.start());
    EXPECT_TRUE(filled.empty());  // never from inside a call
    EXPECT_TRUE(run_loop_until([&] { return filled.size() == headers.size(); }, 10000));
    for (std::size_t i = 0; i < filled.size(); ++i) {
      EXPECT_EQ(filled[i], &headers[i]);  // in the order added
      EXPECT_EQ(filled[i]->recorded, bytes);
    }
    in.close();
    return memory;
  }

  fs::path dir;
  std::string folder;
  wave_in* device = nullptr;
  std::vector<wave_in_header*> filled;
  bool requeue = false;
  int argc = 1;
  char arg0[8] = "test";
  char* argv[1] = {arg0};
  QCoreApplication app{argc, argv};
};

std::vector<std::uint8_t> le(const std::vector<std::int16_t>& s) {
  std::vector<std::uint8_t> b;
  for (auto v : s) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(v) >> 8));
  }
  return b;
}

TEST_F(SimWaveIn, RecordsTheFileFromItsStartThenSilence) {
  std::vector<std::int16_t> left(3000), stereo;
  for (std::size_t i = 0; i < left.size(); ++i) left[i] = static_cast<std::int16_t>(i * 11 - 9000);
  for (auto v : left) stereo.insert(stereo.end(), {v, static_cast<std::int16_t>(-7)});
  write_bytes(dir / "wave_in.wav",
              wav_builder().raw("LIST").u32(2).u16(0).fmt(1, 2, 44100, 16).data16(stereo).finish());
  const auto got = record(3, 4096, 1000);
  auto expected = le(left);
  expected.resize(3 * 4096, 0);  // the first channel, then silence
  std::vector<std::uint8_t> joined;
  for (const auto& b : got) joined.insert(joined.end(), b.begin(), b.end());
  EXPECT_TRUE(joined == expected);
  // Every open starts from the file's beginning again.
  filled.clear();
  const auto again = record(1, 4096, 1000);
  EXPECT_TRUE(std::equal(again[0].begin(), again[0].end(), expected.begin()));
}

TEST_F(SimWaveIn, SilenceWithoutAUsableFile) {
  const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
      {"no file", {}},
      {"8-bit PCM", wav_builder().fmt(1, 1, 22050, 8).chunk("data", {1, 2, 3, 4}).finish()},
      {"not RIFF", {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}},
      {"no data chunk", wav_builder().fmt(1, 1, 22050, 16).finish()},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    fs::remove(dir / "wave_in.wav");
    if (!bytes.empty()) write_bytes(dir / "wave_in.wav", bytes);
    filled.clear();
    const auto got = record(2, 2048, 1000);
    for (const auto& b : got) EXPECT_EQ(std::count(b.begin(), b.end(), 0), 2048);
  }
}

TEST_F(SimWaveIn, PacedAtTheSpeedFactorWithBuffersGivenBack) {
  requeue = true;
  sim_wave_in in(folder, 8, std::make_unique<qt_loop_timer>());
  device = &in;
  ASSERT_TRUE(in.open(0, wave_format{1, 22050}, *this));
  std::vector<std::uint8_t> a(4096), b(4096);
  wave_in_header ha{a.data(), 4096, 0, 0}, hb{b.data(), 4096, 0, 0};
  in.add_buffer(ha);
  in.add_buffer(hb);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(in.start());
  ASSERT_TRUE(run_loop_until([&] { return filled.size() >= 16; }, 10000));
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(s, 16 * 2048 / 22050.0 / 8 * 0.95);  // never faster than the audio at 8 times
  for (std::size_t i = 0; i < filled.size(); ++i) EXPECT_EQ(filled[i], i % 2 ? &hb : &ha);
  // reset gives back what is queued, and nothing arrives for it afterwards.
  in.reset();
  EXPECT_EQ(ha.flags & wave_done, wave_done);
  EXPECT_EQ(hb.flags & (wave_done | wave_in_queue), wave_done);
  const std::size_t seen = filled.size();
  run_loop_until([] { return false; }, 100);
  EXPECT_EQ(filled.size(), seen);
  in.close();
  EXPECT_FALSE(in.add_buffer(ha));
  EXPECT_FALSE(in.open(1, wave_format{1, 22050}, *this));  // one device only
}

TEST_F(SimWaveIn, TheSimulatedBackendHasAnInputAndItsOwnAuditionDevice) {
  audio_devices dev;
  std::string error;
  ASSERT_TRUE(make_audio_devices(("sim:" + dir.string() + ":speed=1000").c_str(), dev, error));
  ASSERT_TRUE(dev.in && dev.audition && dev.out);
  EXPECT_EQ(dev.in->device_names(), std::vector<std::string>{"Simulated input"});
  struct sink final : wave_out_listener {
    void buffer_done(wave_header&) override { ++n; }
    int n = 0;
  } done;
  std::vector<std::uint8_t> mem(8192, 3);
  wave_header h{mem.data(), 8192, 0};
  ASSERT_TRUE(dev.out->open(0, wave_format{1, 22050}, done));
  ASSERT_TRUE(dev.audition->open(0, wave_format{1, 22050}, done));  // both open at once
  ASSERT_TRUE(dev.audition->write(h));
  ASSERT_TRUE(run_loop_until([&] { return done.n == 1; }, 5000));
  dev.audition->close();
  dev.out->close();
  EXPECT_EQ(fs::file_size(dir / "audition-1ch.wav"), 44u + 8192);
  EXPECT_EQ(fs::file_size(dir / "wave_out-1ch.wav"), 44u);

  audio_devices alsa;
  ASSERT_TRUE(make_audio_devices("alsa", alsa, error));
  EXPECT_TRUE(alsa.in && alsa.audition);
}

}  // namespace
}  // namespace zta::test
