// Recording into an announcement and audition of its clip, on the test devices.
#include "audio/edit_audio.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "announcements/calendar.hpp"
#include "announcements/clip_files.hpp"
#include "announcements/list_ops.hpp"
#include "platform/sim/test_wave_in.hpp"
#include "platform/sim/test_wave_out.hpp"
#include "tests/audio/recording_check.hpp"
#include "tests/common/announcement_maker.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

using test::temp_folder;

class EditAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    st.settings.record_device = 0;
    st.settings.audition_device = 0;
    ann_blk a = test::always_current("Mine", -1);
    a.user_made = 1;
    st.content.list.push_back(a);
    audio.on_level = [this](int level) { levels.push_back(level); };
    audio.on_stopped = [this] { ++stops; };
  }
  // Clip n of `bytes` bytes whose every sample differs from its neighbours.
  std::vector<std::uint8_t> write_clip(int n, std::size_t bytes) {
    std::vector<std::uint8_t> b(bytes);
    for (std::size_t i = 0; i < bytes; ++i) b[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    file_handle f = create_clip(st, n);
    if (!b.empty()) std::fwrite(b.data(), 1, b.size(), f.get());
    st.clip_use[static_cast<std::size_t>(n)] |= clip_allocated;
    return b;
  }
  std::vector<std::uint8_t> clip_bytes(int n) const {
    std::vector<std::uint8_t> b;
    read_whole_file(clip_path(st, n), b);
    return b;
  }
  void record_blocks(int n) {
    for (int i = 0; i < n; ++i) ASSERT_TRUE(in.fill_next());
  }

  temp_folder dir;
  station st{dir.path()};
  test_wave_in in;
  test_wave_out out;
  edit_audio audio{st, &in, &out};
  std::vector<int> levels;
  int stops = 0;
};

TEST_F(EditAudio, RecordingIsProcessedLikeAnImportOfTheSameSamples) {
  const auto tone = test::steady_tone(40 * 2048);
  in.input = test::sample_bytes(tone);
  ASSERT_EQ(audio.record_over(0), audio_refusal::none);
  EXPECT_EQ(audio.mode(), edit_audio_mode::recording);
  EXPECT_EQ(in.queued(), 14u);
  EXPECT_EQ(in.last_format.channels, 1);
  EXPECT_EQ(in.last_format.rate, 22050);
  record_blocks(30);
  EXPECT_EQ(in.queued(), 14u);  // every filled buffer goes back to the device
  audio.stop();
  EXPECT_EQ(audio.mode(), edit_audio_mode::idle);
  EXPECT_FALSE(in.is_open());
  EXPECT_EQ(stops, 1);
  ASSERT_EQ(levels.size(), 31u);  // one per block, then empty
  EXPECT_EQ(levels.back(), level_meter_empty);
  for (std::size_t i = 1; i < 30; ++i) EXPECT_EQ(levels[i], levels[1]) << i;  // a steady tone

  const ann_blk& a = st.content.list[0];
  ASSERT_TRUE(valid_clip(a.clip));
  const auto expected = test::import_of({tone.begin(), tone.begin() + 30 * 2048});
  ASSERT_FALSE(expected.clip.empty());
  EXPECT_EQ(a.id_serial, expected.length);
  EXPECT_TRUE(clip_bytes(a.clip) == expected.clip);
}

TEST_F(EditAudio, StoppingAtOnceStillProcessesAndGivesUpTheOldClip) {
  write_clip(3, 8192);
  st.content.list[0].clip = 3;
  st.content.list[0].id_serial = 4096;
  in.input = test::sample_bytes(test::steady_tone(8192));
  ASSERT_EQ(audio.record_over(0), audio_refusal::none);
  audio.stop();  // nothing recorded: the processing finds nothing loud
  EXPECT_EQ(st.content.list[0].clip, -1);
  EXPECT_EQ(st.content.list[0].id_serial, 0);
  EXPECT_EQ(stops, 1);
  clip_cleanup(st);  // the old clip is no longer referenced
  EXPECT_FALSE(file_exists(clip_path(st, 3)));
}

struct refusal_case {
  const char* name;
  int record_device;
  int user_made;
  bool fail_open;
  int index;
  audio_refusal expected;
};

TEST_F(EditAudio, RecordRefusals) {
  const refusal_case cases[] = {
      {"recording disabled", -1, 1, false, 0, audio_refusal::record_disabled},
      {"pre-recorded", 0, 0, false, 0, audio_refusal::record_protected},
      {"device does not open", 0, 1, true, 0, audio_refusal::record_open_failed},
      {"no announcement", -1, 1, false, -1, audio_refusal::silent},
      {"outside the list", 0, 1, false, 5, audio_refusal::silent},
  };
  for (const auto& c : cases) {
    st.settings.record_device = static_cast<std::int8_t>(c.record_device);
    st.content.list[0].user_made = static_cast<std::uint8_t>(c.user_made);
    in.fail_open = c.fail_open;
    EXPECT_EQ(audio.record_over(c.index), c.expected) << c.name;
    EXPECT_EQ(audio.mode(), edit_audio_mode::idle) << c.name;
    EXPECT_FALSE(in.is_open()) << c.name;
  }
  edit_audio no_device(st, nullptr, nullptr);
  st.settings.record_device = 0;
  st.content.list[0].user_made = 1;
  EXPECT_EQ(no_device.record_over(0), audio_refusal::record_open_failed);
  EXPECT_EQ(refusal_message(audio_refusal::silent).caption, nullptr);
  EXPECT_STREQ(refusal_message(audio_refusal::record_protected).caption, "Record Protected");
}

TEST_F(EditAudio, PlayRefusals) {
  write_clip(2, 100);
  st.content.list[0].clip = 2;
  st.settings.audition_device = -1;
  EXPECT_EQ(audio.play(0), audio_refusal::play_disabled);
  st.settings.audition_device = 0;
  out.fail_open = true;
  EXPECT_EQ(audio.play(0), audio_refusal::play_open_failed);
  out.fail_open = false;
  st.content.list[0].clip = 5;  // no such file
  EXPECT_EQ(audio.play(0), audio_refusal::silent);
  EXPECT_EQ(audio.play(-1), audio_refusal::silent);
  EXPECT_EQ(out.opens, 0);
  EXPECT_EQ(stops, 0);
}

struct audition_case {
  const char* name;
  std::size_t bytes;
  int completions;  // until the audition ended
};

TEST_F(EditAudio, AuditionEndsWithTheShortBufferAfterTheClip) {
  const audition_case cases[] = {
      {"one buffer", 8192, 2},
      {"three whole buffers", 3 * 8192, 4},
      {"exactly the seven buffers", 7 * 8192, 8},
      {"nine whole buffers, refills", 9 * 8192, 10},
      {"a short tail", 4 * 8192 + 100, 5},
      {"empty clip", 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto clip = write_clip(1, c.bytes);
    st.content.list[0].clip = 1;
    out.written.clear();
    stops = 0;
    ASSERT_EQ(audio.play(0), audio_refusal::none);
    EXPECT_EQ(out.last_format.channels, 1);
    EXPECT_EQ(out.queued(), 7u);
    int completions = 0;
    while (audio.mode() == edit_audio_mode::auditioning && out.complete_next()) ++completions;
    EXPECT_EQ(completions, c.completions);
    EXPECT_EQ(audio.mode(), edit_audio_mode::idle);
    EXPECT_FALSE(out.is_open());
    EXPECT_EQ(stops, 1);
    EXPECT_TRUE(out.written == clip);
  }
}

TEST_F(EditAudio, PlayWhileRecordingProcessesTheRecordingFirst) {
  in.input = test::sample_bytes(test::steady_tone(20 * 2048));
  ASSERT_EQ(audio.record_over(0), audio_refusal::none);
  record_blocks(20);
  ASSERT_EQ(audio.play(0), audio_refusal::none);
  EXPECT_FALSE(in.is_open());
  const int clip = st.content.list[0].clip;
  ASSERT_TRUE(valid_clip(clip));
  while (audio.mode() == edit_audio_mode::auditioning && out.complete_next()) {
  }
  EXPECT_TRUE(out.written == clip_bytes(clip));
  EXPECT_EQ(stops, 2);
}

TEST_F(EditAudio, LateDeliveriesAreHarmless) {
  in.input = test::sample_bytes(test::steady_tone(4 * 2048));
  ASSERT_EQ(audio.record_over(0), audio_refusal::none);
  record_blocks(2);
  audio.stop();
  const int clip = st.content.list[0].clip;
  std::vector<std::uint8_t> mem(4096);
  wave_in_header late{mem.data(), 4096, 4096, wave_done};
  audio.buffer_filled(late);
  wave_header late_out{mem.data(), 8192, wave_done};
  audio.buffer_done(late_out);
  EXPECT_EQ(levels.size(), 3u);
  EXPECT_EQ(st.content.list[0].clip, clip);
  EXPECT_EQ(stops, 1);
}

TEST_F(EditAudio, ProcessingRunsOnceEvenIfStoppedAgainFromInside) {
  in.input = test::sample_bytes(test::steady_tone(16 * 2048));
  int runs = 0;
  audio.processor = [&](rectmp& src, std::int16_t& clip, std::int32_t& length) {
    ++runs;
    audio.stop();  // a nested loop closing the dialog, say
    return process_in_loop(st, src, clip, length);
  };
  ASSERT_EQ(audio.record_over(0), audio_refusal::none);
  record_blocks(16);
  audio.stop();
  audio.stop();
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(valid_clip(st.content.list[0].clip));
}

TEST_F(EditAudio, AnnouncementGoneDuringTheProcessingGivesTheClipBack) {
  in.input = test::sample_bytes(test::steady_tone(16 * 2048));
  audio.processor = [&](rectmp& src, std::int16_t& clip, std::int32_t& length) {
    remove_at(st, 0);  // a nested loop changed the list
    return process_in_loop(st, src, clip, length);
  };
  ASSERT_EQ(audio.record_over(0), audio_refusal::none);
  record_blocks(16);
  audio.stop();
  EXPECT_TRUE(st.content.list.empty());
  for (auto bits : st.clip_use) EXPECT_EQ(bits, 0);
  EXPECT_FALSE(file_exists(clip_path(st, 0)));
}

TEST_F(EditAudio, DestroyedWhileRecordingStillMakesTheClip) {
  in.input = test::sample_bytes(test::steady_tone(16 * 2048));
  {
    edit_audio local(st, &in, &out);
    local.processor = [](rectmp&, std::int16_t&, std::int32_t&) {
      ADD_FAILURE() << "no dialog while destroying";
      return recproc_failure::cancelled;
    };
    ASSERT_EQ(local.record_over(0), audio_refusal::none);
    record_blocks(16);
  }
  EXPECT_TRUE(valid_clip(st.content.list[0].clip));
}

TEST(NewRecordName, HourMinuteSecondAsTwoDigitsEach) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {*make_moment({2024, 3, 6, 9, 7, 3, 0}), "User Message 090703"},
      {*make_moment({2024, 3, 6, 14, 5, 9, 0}), "User Message 140509"},
      {*make_moment({2024, 3, 6, 0, 0, 0, 0}), "User Message 000000"},
  };
  for (const auto& [now, name] : cases) EXPECT_EQ(new_record_name(now), name);
}

}  // namespace
}  // namespace zta
