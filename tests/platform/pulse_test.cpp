// Real-time behaviour of the ALSA backends through a headless PulseAudio started for this suite:
// buffers complete at the audio rate, on the main thread; a mixer line made with a `remap` ctl.
// Skipped (not failed) where PulseAudio cannot start.
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "audio/announcement_player.hpp"
#include "platform/alsa/alsa_aux_mixer.hpp"
#include "platform/alsa/alsa_wave_out.hpp"
#include "platform/sim/recording_aux_mixer.hpp"
#include "platform_helpers.hpp"

extern char** environ;

namespace zta::test {
namespace {

class PulseAudio : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // One daemon per process: ctest runs the cases of this suite as parallel processes.
    root = fs::path(::testing::TempDir()) / ("pulse-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "run");
    fs::permissions(root / "run", fs::perms::owner_all, fs::perm_options::replace);
    setenv("XDG_RUNTIME_DIR", (root / "run").c_str(), 1);
    setenv("HOME", root.c_str(), 1);
    const std::string socket = (root / "run" / "pa.sock").string();
    std::vector<std::string> args = {
        "pulseaudio",
        "--daemonize=no",
        "--exit-idle-time=-1",
        "--disallow-exit",
        "-n",
        "--use-pid-file=no",
        "--log-target=file:" + (root / "pa.log").string(),
        "-L",
        "module-native-protocol-unix auth-anonymous=1 socket=" + socket,
        "-L",
        "module-null-sink sink_name=nullout rate=22050 sink_properties=device.description=NullOut",
        "-L",
        "module-null-sink sink_name=linein rate=22050"};
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawnp(&pid, "pulseaudio", nullptr, nullptr, argv.data(), environ) != 0) {
      pid = 0;
      why = "pulseaudio could not be started";
      return;
    }
    setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
    std::ofstream(root / "asoundrc")
        << "ctl.linein { type remap child { type pulse; sink \"linein\"; source \"linein.monitor\" "
           "}\n"
           "  remap { \"name='Master Playback Volume'\" \"name='Line Playback Volume'\"\n"
           "          \"name='Master Playback Switch'\" \"name='Line Playback Switch'\" } }\n";
    setenv("ALSA_CONFIG_PATH",
           ("/usr/share/alsa/alsa.conf:" + (root / "asoundrc").string()).c_str(), 1);
    for (int i = 0; i < 100; ++i) {
      if (std::system("pactl info >/dev/null 2>&1") == 0) {
        ready = true;
        break;
      }
      int status = 0;
      if (waitpid(pid, &status, WNOHANG) == pid) {
        pid = 0;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!ready) why = "PulseAudio did not answer; see " + (root / "pa.log").string();
    snd_config_update_free_global();
  }
  static void TearDownTestSuite() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      int waited = 0;
      while (waitpid(pid, nullptr, WNOHANG) == 0) {
        if (++waited == 100) kill(pid, SIGKILL);  // after 5 s
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
    }
    fs::remove_all(root);
    unsetenv("PULSE_SERVER");
    unsetenv("ALSA_CONFIG_PATH");
    snd_config_update_free_global();
  }
  void SetUp() override {
    if (!ready) GTEST_SKIP() << "PulseAudio unavailable here: " << why;
  }

  static inline fs::path root;
  static inline pid_t pid = 0;
  static inline bool ready = false;
  static inline std::string why;
  int argc = 1;
  char arg0[8] = "test";
  char* argv[1] = {arg0};
  QCoreApplication app{argc, argv};
};

// Re-queues each buffer as it completes and notes when and where that happened.
struct timing_listener final : wave_out_listener {
  void buffer_done(wave_header& h) override {
    times.push_back(std::chrono::steady_clock::now());
    threads.push_back(std::this_thread::get_id());
    if (device != nullptr && static_cast<int>(times.size()) + 9 <= wanted) device->write(h);
  }
  wave_out* device = nullptr;
  int wanted = 0;
  std::vector<std::chrono::steady_clock::time_point> times;
  std::vector<std::thread::id> threads;
};

TEST_F(PulseAudio, BuffersCompleteAtTheAudioRateOnTheMainThread) {
  alsa_wave_out device(qt_loop());  // "default" goes to PulseAudio
  timing_listener l;
  l.device = &device;
  l.wanted = 20;
  ASSERT_TRUE(device.open(0, wave_format{1, 22050}, l));
  std::vector<std::vector<std::uint8_t>> memory(9, std::vector<std::uint8_t>(16384, 0));
  std::vector<wave_header> headers(9);
  for (int i = 0; i < 9; ++i) {
    headers[i] = wave_header{memory[i].data(), 16384, 0};
    ASSERT_TRUE(device.write(headers[i]));
  }
  EXPECT_TRUE(l.times.empty());  // never from inside write
  ASSERT_TRUE(run_loop_until([&] { return static_cast<int>(l.times.size()) >= l.wanted; }, 30000));
  device.close();
  for (auto id : l.threads) EXPECT_EQ(id, std::this_thread::get_id());
  // Past the first few (the server's buffering), completions come one buffer time apart. The
  // device cannot play faster than the audio, so the lower bound is tight; a busy machine can
  // only delay the event loop that reports them, so the upper bound is loose.
  const double buffer_ms = 8192 * 1000.0 / 22050;  // 371.5 ms
  const double span = std::chrono::duration<double, std::milli>(l.times[19] - l.times[9]).count();
  EXPECT_GT(span / 10, buffer_ms * 0.8);
  EXPECT_LT(span / 10, buffer_ms * 2.0);
}

TEST_F(PulseAudio, ShortAnnouncementKeepsTheDeviceForNineBuffers) {
  programme p(root / "announcement", 0, 2000);
  alsa_wave_out device(qt_loop());
  recording_aux_mixer mixer;
  announcement_player player(p.st, device, mixer, &no_play_log);
  auto start = std::chrono::steady_clock::now();
  player.play_announcement(&p.ann);
  ASSERT_TRUE(player.is_open());
  ASSERT_TRUE(run_loop_until([&] { return !player.is_open(); }, 30000));
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GT(s, 9 * 8192 / 22050.0 * 0.8);  // 3.34 s of programme
  EXPECT_LT(s, 9 * 8192 / 22050.0 + 3.0);
}

long line_volume(const char* ctl, const char* element, snd_mixer_selem_channel_id_t ch, long* min,
                 long* max) {
  snd_mixer_t* m = nullptr;
  long v = -1;
  if (snd_mixer_open(&m, 0) < 0) return v;
  if (snd_mixer_attach(m, ctl) == 0 && snd_mixer_selem_register(m, nullptr, nullptr) == 0 &&
      snd_mixer_load(m) == 0) {
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_name(id, element);
    if (snd_mixer_elem_t* e = snd_mixer_find_selem(m, id)) {
      snd_mixer_selem_get_playback_volume_range(e, min, max);
      snd_mixer_selem_get_playback_volume(e, ch, &v);
    }
  }
  snd_mixer_close(m);
  return v;
}

TEST_F(PulseAudio, MixerLineTakesTheVolumeWord) {
  auto lines = alsa_mixer_lines({"linein"});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].name, "linein: Line");
  alsa_aux_mixer mixer(lines);
  EXPECT_EQ(mixer.line_names(), std::vector<std::string>{"linein: Line"});
  ASSERT_TRUE(mixer.set_volume(0, 0x40007FFF));  // left half, right quarter
  long min = 0, max = 0;
  long left = line_volume("linein", "Line", SND_MIXER_SCHN_FRONT_LEFT, &min, &max);
  long right = line_volume("linein", "Line", SND_MIXER_SCHN_FRONT_RIGHT, &min, &max);
  ASSERT_LT(min, max);
  // The mixer scales in whole steps, as these do.
  const long want_left = static_cast<long>(min + 0x7FFFLL * (max - min) / 0xFFFF);
  const long want_right = static_cast<long>(min + 0x4000LL * (max - min) / 0xFFFF);
  EXPECT_NEAR(left, want_left, 1);
  EXPECT_NEAR(right, want_right, 1);
  ASSERT_TRUE(mixer.set_volume(0, 0));
  EXPECT_EQ(line_volume("linein", "Line", SND_MIXER_SCHN_FRONT_LEFT, &min, &max), min);
  EXPECT_FALSE(mixer.set_volume(1, 0));
}

}  // namespace
}  // namespace zta::test
