// The ALSA wave-in for real, without a sound card: the default PCM is a `file` plugin whose
// `infile` stands for the microphone, so a recording through the whole path can be compared with
// the import of the same samples.
#include <alsa/asoundlib.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCoreApplication>

#include "audio/edit_audio.hpp"
#include "platform/alsa/alsa_wave_in.hpp"
#include "platform/sim/test_wave_out.hpp"
#include "platform_helpers.hpp"
#include "tests/audio/recording_check.hpp"
#include "tests/common/announcement_maker.hpp"

namespace zta::test {
namespace {

class AlsaCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fresh_dir("alsa-capture");
    // The null slave does not pace the capture, so a busy machine records hundreds of blocks
    // before the test gets to stop it; the input must outlast that (the plugin then repeats stale
    // data).
    tone = steady_tone(input_blocks * 2048);
    write_bytes(dir / "in.raw", sample_bytes(tone));
    std::ofstream(dir / "asoundrc") << "pcm.!default { type file slave.pcm { type null } file "
                                       "\"/dev/null\" infile \""
                                    << (dir / "in.raw").string() << "\" format \"raw\" }\n";
    setenv("ALSA_CONFIG_PATH", ("/usr/share/alsa/alsa.conf:" + (dir / "asoundrc").string()).c_str(),
           1);
    snd_config_update_free_global();
  }
  void TearDown() override {
    unsetenv("ALSA_CONFIG_PATH");
    snd_config_update_free_global();
  }

  static constexpr std::size_t input_blocks = 4000;
  fs::path dir;
  std::vector<std::int16_t> tone;
  int argc = 1;
  char arg0[8] = "test";
  char* argv[1] = {arg0};
  QCoreApplication app{argc, argv};
};

TEST_F(AlsaCapture, RecordingThroughTheDeviceMatchesTheImportOfItsInput) {
  fs::create_directories(dir / "data");
  station st((dir / "data").string() + "/");
  st.settings.record_device = 0;
  ann_blk a = always_current("Mine", -1);
  a.user_made = 1;
  st.content.list.push_back(a);
  alsa_wave_in in(qt_loop());
  test_wave_out out;
  edit_audio audio(st, &in, &out);
  std::vector<int> levels;
  audio.on_level = [&](int level) { levels.push_back(level); };
  ASSERT_EQ(audio.record_over(0), audio_refusal::none) << "the capture PCM did not open";
  ASSERT_TRUE(run_loop_until([&] { return levels.size() >= 12; }, 20000));
  audio.stop();
  const std::size_t blocks = levels.size() - 1;  // the last is the meter emptied
  ASSERT_LE(blocks, input_blocks);
  EXPECT_EQ(levels.back(), level_meter_empty);

  const auto expected = import_of({tone.begin(), tone.begin() + static_cast<long>(blocks * 2048)});
  const ann_blk& got = st.content.list[0];
  ASSERT_TRUE(valid_clip(got.clip));
  std::vector<std::uint8_t> clip;
  ASSERT_TRUE(read_whole_file(clip_path(st, got.clip), clip));
  EXPECT_EQ(got.id_serial, expected.length);
  EXPECT_TRUE(clip == expected.clip);
}

TEST_F(AlsaCapture, DevicesAndFailures) {
  alsa_wave_in in(qt_loop());
  ASSERT_FALSE(in.device_names().empty());
  EXPECT_EQ(in.device_names()[0], "default");
  struct sink final : wave_in_listener {
    void buffer_filled(wave_in_header&) override { ++n; }
    int n = 0;
  } l;
  alsa_wave_in missing(qt_loop(), std::vector<alsa_device>{{"nothing", "no_such_pcm_here"}});
  EXPECT_FALSE(missing.open(0, wave_format{1, 22050}, l));
  EXPECT_FALSE(in.open(3, wave_format{1, 22050}, l));
  ASSERT_TRUE(in.open(0, wave_format{1, 22050}, l));
  EXPECT_FALSE(in.open(0, wave_format{1, 22050}, l));  // already open
  std::vector<std::uint8_t> mem(4096);
  wave_in_header h{mem.data(), 4096, 0, 0};
  ASSERT_TRUE(in.add_buffer(h));
  ASSERT_TRUE(in.start());
  EXPECT_EQ(l.n, 0);  // never from inside a call
  in.reset();
  EXPECT_EQ(h.flags & (wave_done | wave_in_queue), wave_done);
  run_loop_until([] { return false; }, 100);
  EXPECT_EQ(l.n, 0);  // nothing for a buffer given back by the reset
  in.close();
  EXPECT_FALSE(in.add_buffer(h));
}

}  // namespace
}  // namespace zta::test
