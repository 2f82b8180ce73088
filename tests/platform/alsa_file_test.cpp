// The ALSA wave-out for real, without a sound card: the default PCM is a `file` plugin over
// `null`, which captures exactly what the player handed over.
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCoreApplication>

#include "audio/announcement_player.hpp"
#include "platform/alsa/alsa_wave_out.hpp"
#include "platform/sim/recording_aux_mixer.hpp"
#include "platform_helpers.hpp"

namespace zta::test {

namespace {

class AlsaFilePcm : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    dir = fresh_dir("alsa-file");
    capture = dir / "out.raw";
    std::ofstream(dir / "asoundrc") << "pcm.!default { type file slave.pcm { type null } file \""
                                    << capture.string() << "\" format \"raw\" perm 0644 }\n";
    setenv("ALSA_CONFIG_PATH", ("/usr/share/alsa/alsa.conf:" + (dir / "asoundrc").string()).c_str(),
           1);
    snd_config_update_free_global();  // read the configuration afresh
  }
  void TearDown() override {
    unsetenv("ALSA_CONFIG_PATH");
    snd_config_update_free_global();
  }

  fs::path dir, capture;
  int argc = 1;
  char arg0[8] = "test";
  char* argv[1] = {arg0};
  QCoreApplication app{argc, argv};
};

TEST_P(AlsaFilePcm, CapturedBytesAreChimeClipAndPadding) {
  const bool is_balanced = GetParam();
  programme p(dir, 3000, 8192 * 10 + 77);  // longer than the nine buffers: refills are exercised
  p.st.settings.balanced = is_balanced ? 1 : 0;
  alsa_wave_out device(qt_loop());
  recording_aux_mixer mixer;
  announcement_player player(p.st, device, mixer, &no_play_log);
  player.play_announcement(&p.ann);
  ASSERT_TRUE(player.is_open()) << "the file PCM did not open";
  EXPECT_TRUE(run_loop_until([&] { return !player.is_open(); }, 20000));

  auto expected = p.expected(11);
  if (is_balanced) expected = balanced(expected);
  auto got = read_bytes(capture);
  ASSERT_EQ(got.size(), expected.size());
  EXPECT_TRUE(got == expected);
}

INSTANTIATE_TEST_SUITE_P(Alsa, AlsaFilePcm, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Balanced" : "Normal"; });

TEST_F(AlsaFilePcm, VolumeScalesTheSamples) {
  programme p(dir, 0, 100);
  p.st.settings.chimes = 0;
  p.st.settings.announcement_level = 50;  // V = 32767
  alsa_wave_out device(qt_loop());
  recording_aux_mixer mixer;
  announcement_player player(p.st, device, mixer, &no_play_log);
  player.play_announcement(&p.ann);
  ASSERT_TRUE(run_loop_until([&] { return !player.is_open(); }, 20000));
  auto got = read_bytes(capture);
  ASSERT_EQ(got.size(), 9u * 16384);
  for (std::size_t i = 0; i < 100; ++i) {
    auto s = static_cast<std::int16_t>(p.clip[2 * i] | p.clip[2 * i + 1] << 8);
    auto g = static_cast<std::int16_t>(got[2 * i] | got[2 * i + 1] << 8);
    EXPECT_EQ(g, static_cast<std::int16_t>(s * 32767 / 65535)) << i;
  }
}

TEST_F(AlsaFilePcm, DeviceListStartsWithDefault) {
  auto names = alsa_wave_out(qt_loop()).device_names();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names[0], "default");
}

TEST_F(AlsaFilePcm, OpenFailsForAMissingDevice) {
  alsa_wave_out device(qt_loop(), std::vector<alsa_device>{{"nothing", "no_such_pcm_here"}});
  recording_aux_mixer mixer;
  programme p(dir);
  announcement_player player(p.st, device, mixer, &no_play_log);
  player.play_announcement(&p.ann);
  EXPECT_FALSE(player.is_open());
  EXPECT_EQ(p.st.clip_use[0], clip_allocated);
}

}  // namespace
}  // namespace zta::test
