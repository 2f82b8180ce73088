// The simulated sound card of ZTA_AUDIO=sim:DIR and the backend choice.
#include <gtest/gtest.h>

#include <ostream>

#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "announcements/day_part.hpp"
#include "announcements/missed_log.hpp"
#include "audio/announcement_player.hpp"
#include "platform/backends/audio_backends.hpp"
#include "platform/qt/qt_loop_timer.hpp"
#include "platform/sim/sim_audio.hpp"
#include "platform_helpers.hpp"

namespace zta::test {
namespace {

class SimAudio : public ::testing::Test {
 protected:
  void SetUp() override { dir = fresh_dir("sim"); }

  fs::path dir;
  int argc = 1;
  char arg0[8] = "test";
  char* argv[1] = {arg0};
  QCoreApplication app{argc, argv};
};

std::string slurp(const fs::path& p) {
  auto b = read_bytes(p);
  return {b.begin(), b.end()};
}

TEST_F(SimAudio, PlaysAtTheSpeedFactorAndKeepsEverySampleInAWav) {
  fs::create_directories(dir / "out");
  audio_devices dev;
  std::string error;
  ASSERT_TRUE(
      make_audio_devices(("sim:" + (dir / "out").string() + ":speed=4").c_str(), dev, error))
      << error;
  programme p(dir);
  p.st.settings.music_device = 0;
  p.st.settings.mic_device = 1;
  announcement_player player(p.st, *dev.out, *dev.mixer, &no_play_log);
  auto start = std::chrono::steady_clock::now();
  player.play_announcement(&p.ann);
  ASSERT_TRUE(player.is_open());
  ASSERT_TRUE(run_loop_until([&] { return !player.is_open(); }, 10000));
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double programme_s = 9 * 8192 / 22050.0 / 4;  // 0.84 s at speed 4
  EXPECT_GT(s, programme_s * 0.95);
  EXPECT_LT(s, programme_s + 1.0);

  auto wav = read_bytes(dir / "out" / "wave_out-1ch.wav");
  ASSERT_EQ(wav.size(), 44u + 9 * 16384);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(wav[40] | wav[41] << 8 | wav[42] << 16, 9 * 16384);
  EXPECT_TRUE(std::vector<std::uint8_t>(wav.begin() + 44, wav.end()) == p.expected(9));
  EXPECT_EQ(slurp(dir / "out" / "levels.txt"),
            "wave_out 0xFFFFFFFF\nline 0 0x7FFF7FFF\nline 1 0x00000000\n");

  // A second play appends to the same file.
  player.play_announcement(&p.ann);
  ASSERT_TRUE(run_loop_until([&] { return !player.is_open(); }, 10000));
  EXPECT_EQ(fs::file_size(dir / "out" / "wave_out-1ch.wav"), 44u + 18 * 16384);
}

TEST_F(SimAudio, CardsFileRenumbersAndAnUnpluggedCardEndsThePlay) {
  auto levels = std::make_shared<sim_levels>(dir.string() + "/");
  sim_wave_out out(levels, 4, std::make_unique<qt_loop_timer>());
  sim_aux_mixer mixer(levels);
  EXPECT_EQ(out.device_names(), std::vector<std::string>{"Simulated output"});
  std::string cards = "HDMI\r\nSimulated output\r\n";
  write_bytes(dir / "cards.txt", std::vector<std::uint8_t>(cards.begin(), cards.end()));
  EXPECT_EQ(out.device_names(), (std::vector<std::string>{"HDMI", "Simulated output"}));
  programme p(dir, 3000, 22050 * 4);   // four seconds: one second at speed 4
  p.st.settings.sound_out_device = 0;  // HDMI is not the simulated card
  announcement_player player(p.st, out, mixer, &no_play_log);
  EXPECT_EQ(player.play_announcement(&p.ann), missed_reason::device_open_failed);
  p.st.settings.sound_out_device = 1;
  EXPECT_FALSE(player.play_announcement(&p.ann));
  ASSERT_TRUE(player.is_open());
  // Pulled out while it plays: the play ends at the next completion, recorded as missed.
  cards = "HDMI\n";
  write_bytes(dir / "cards.txt", std::vector<std::uint8_t>(cards.begin(), cards.end()));
  ASSERT_TRUE(run_loop_until([&] { return !player.is_open(); }, 10000));
  EXPECT_FALSE(out.is_open());
  auto missed =
      read_missed_file(p.st.data_folder + missed_file_name(p.st.clock.now), p.st.clock.now);
  ASSERT_EQ(missed.size(), 2u);
  EXPECT_EQ(missed[0].reason, "device failed to open");
  EXPECT_EQ(missed[1].reason, "device lost during the play");
  // Plugged in again: the next play opens it.
  cards = "Simulated output\n";
  write_bytes(dir / "cards.txt", std::vector<std::uint8_t>(cards.begin(), cards.end()));
  p.st.settings.sound_out_device = 0;
  EXPECT_FALSE(player.play_announcement(&p.ann));
  EXPECT_TRUE(player.is_open());
  player.stop(missed_reason::program_ended);
}

TEST_F(SimAudio, BalancedGoesToItsOwnStereoFile) {
  auto levels = std::make_shared<sim_levels>(dir.string() + "/");
  sim_wave_out out(levels, 1000, std::make_unique<qt_loop_timer>());
  sim_aux_mixer mixer(levels);
  programme p(dir);
  p.st.settings.balanced = 1;
  announcement_player player(p.st, out, mixer, &no_play_log);
  player.play_announcement(&p.ann);
  ASSERT_TRUE(run_loop_until([&] { return !player.is_open(); }, 10000));
  auto wav = read_bytes(dir / "wave_out-2ch.wav");
  ASSERT_EQ(wav.size(), 44u + 9 * 32768);
  EXPECT_EQ(wav[22], 2);
  EXPECT_TRUE(std::vector<std::uint8_t>(wav.begin() + 44, wav.end()) == balanced(p.expected(9)));
}

TEST_F(SimAudio, CompletionsNeverArriveInsideWrite) {
  auto levels = std::make_shared<sim_levels>(dir.string() + "/");
  sim_wave_out out(levels, 1e6, std::make_unique<qt_loop_timer>());
  struct counter final : wave_out_listener {
    void buffer_done(wave_header&) override { ++n; }
    int n = 0;
  } l;
  std::vector<std::uint8_t> mem(16384);
  wave_header h{mem.data(), 16384, 0};
  ASSERT_TRUE(out.open(0, wave_format{1, 22050}, l));
  ASSERT_TRUE(out.write(h));
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(l.n, 0);
  ASSERT_TRUE(run_loop_until([&] { return l.n == 1; }, 5000));
  EXPECT_EQ(h.flags & wave_done, wave_done);
  EXPECT_FALSE(out.open(0, wave_format{1, 22050}, l));  // already open
  out.close();
  EXPECT_FALSE(out.open(1, wave_format{1, 22050}, l));  // one device only
}

struct value_case {
  const char* name;
  std::string value;  // "@" stands for an existing folder
  bool ok;
  const char* message_part;
};
void PrintTo(const value_case& c, std::ostream* os) {
  *os << c.name;
}

class BackendChoice : public SimAudio, public ::testing::WithParamInterface<value_case> {};

TEST_P(BackendChoice, ZtaAudioValues) {
  const auto& c = GetParam();
  std::string value = c.value;
  if (auto at = value.find('@'); at != std::string::npos) value.replace(at, 1, dir.string());
  audio_devices dev;
  std::string error;
  EXPECT_EQ(make_audio_devices(value.c_str(), dev, error), c.ok) << error;
  EXPECT_EQ(dev.out != nullptr, c.ok);
  if (!c.ok) {
    EXPECT_NE(error.find(c.message_part), std::string::npos) << error;
  }
}

const value_case value_cases[] = {
    {"Alsa", "alsa", true, ""},
    {"Empty", "", true, ""},
    {"Sim", "sim:@", true, ""},
    {"SimSlash", "sim:@/", true, ""},
    {"SimSpeed", "sim:@:speed=2.5", true, ""},
    {"MissingFolder", "sim:@/nope", false, "does not exist"},
    {"BadSpeed", "sim:@:speed=fast", false, "speed"},
    {"ZeroSpeed", "sim:@:speed=0", false, "speed"},
    {"Unknown", "oss", false, "ZTA_AUDIO must be"},
};
INSTANTIATE_TEST_SUITE_P(Sim, BackendChoice, ::testing::ValuesIn(value_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zta::test
