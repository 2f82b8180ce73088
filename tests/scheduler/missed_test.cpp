// Every reason of the missed file, each produced by the real player and tick against the test
// device and a fixed clock, and nothing recorded for a play that sounded whole.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "announcements/clip_files.hpp"
#include "announcements/missed_log.hpp"
#include "app/scheduler/scheduler_tick.hpp"
#include "platform/sim/fixed_wall_clock.hpp"
#include "platform/sim/recording_aux_mixer.hpp"
#include "platform/sim/test_wave_out.hpp"
#include "tests/common/announcement_maker.hpp"
#include "tests/common/temp_folder.hpp"
#include "tests/common/tick_day.hpp"

namespace zta {
namespace {

namespace fs = std::filesystem;
using test::day0;
using test::hms;
using test::quiet_callouts;

class Missed : public ::testing::Test {
 public:
  Missed() {
    st.data_folder = folder.path();
    st.settings.sequence_interval = 0;
    st.settings.music_device = -1;
    st.settings.chimes = 0;
    remote.clock = [] { return std::chrono::system_clock::now() + std::chrono::hours(1); };
    at(hms(8, 0, 0));
    device.keep_written = false;
  }

  // An announcement with a clip of `seconds` of silence (no file when `seconds` < 0).
  int add(const char* name, double seconds, std::vector<std::int32_t> fixed = {},
          std::int16_t autoplay = 0) {
    const int n = st.content.list.count();
    ann_blk a = test::always_current(name, n);
    a.fixed_times = std::move(fixed);
    a.autoplay = autoplay;
    st.content.list.push_back(a);
    st.clip_use[static_cast<std::size_t>(n)] |= clip_allocated;
    if (seconds >= 0) {
      const std::string path = clip_path(st, n);
      { std::ofstream create(path); }
      fs::resize_file(path, static_cast<std::uintmax_t>(seconds * 22050) * 2);
    }
    return n;
  }
  void at(int secs) {
    clock.set(day0 + secs);
    st.clock.set(clock.local_now());
  }
  // Timer 1 at a moment.
  void t1(int secs) {
    clock.set(day0 + secs);
    tick.on_timer(timer_schedule);
  }
  void finish() { device.complete_all(); }
  std::vector<missed_entry> missed() const {
    return read_missed_file(folder.file(missed_file_name(day0)), day0);
  }
  std::vector<std::string> reasons() const {
    std::vector<std::string> out;
    for (const missed_entry& e : missed()) out.push_back(e.name + "|" + e.trigger + "|" + e.reason);
    return out;
  }

  test::temp_folder folder;
  station st;
  test_wave_out device;
  recording_aux_mixer mixer{{"music", "mic"}};
  std::unique_ptr<announcement_player> player =
      std::make_unique<announcement_player>(st, device, mixer, &no_play_log);
  remote_folder remote;
  fixed_wall_clock clock;
  quiet_callouts calls;
  scheduler_tick tick{st, *player, remote, clock, calls};
};

struct player_case {
  const char* name;
  std::function<void(Missed&)> act;
  std::vector<std::string> expected;
};

class MissedByPlayer : public Missed, public ::testing::WithParamInterface<player_case> {};

TEST_P(MissedByPlayer, RecordsTheReasonOfTheRealPath) {
  add("Long", 10);
  add("Short", 0.1);
  add("Gone", -1);
  GetParam().act(*this);
  EXPECT_EQ(reasons(), GetParam().expected);
}

const player_case player_cases[] = {
    {"PlayedWhole",
     [](Missed& m) {
       m.player->play_announcement(&m.st.content.list[0], play_trigger::manual);
       m.finish();
       // Stopping in the silence after the clip's end cuts nothing.
       m.player->play_announcement(&m.st.content.list[1], play_trigger::manual);
       m.device.complete_next();
       m.player->stop();
     },
     {}},
    {"NoDevice",
     [](Missed& m) {
       m.st.settings.sound_out_device = -1;
       EXPECT_EQ(m.player->play_announcement(&m.st.content.list[0], play_trigger::remote),
                 missed_reason::no_device);
     },
     {"Long|remote|no sound-out device"}},
    {"OpenFails",
     [](Missed& m) {
       m.device.fail_open = true;
       m.player->play_announcement(&m.st.content.list[0], play_trigger::sequence);
     },
     {"Long|sequence|device failed to open"}},
    {"ClipMissing",
     [](Missed& m) {
       EXPECT_EQ(m.player->play_announcement(&m.st.content.list[2], play_trigger::manual),
                 missed_reason::clip_missing);
       EXPECT_TRUE(m.player->is_open());  // the silence plays, as before
     },
     {"Gone|manual|clip missing or unreadable"}},
    {"CutOffByALaterPlay",
     [](Missed& m) {
       m.player->play_announcement(&m.st.content.list[0], play_trigger::fixed_time);
       m.device.complete_next();
       m.player->play_announcement(&m.st.content.list[1], play_trigger::manual);
       m.finish();
     },
     {"Long|fixed time|cut off by a later play"}},
    {"CutOffByAPageStartOrEnd",
     [](Missed& m) {
       m.player->play_announcement(&m.st.content.list[0], play_trigger::manual);
       m.player->page_start();
       // Sequence play and remote requests may start during a page; its end cuts them off.
       m.player->play_announcement(&m.st.content.list[0], play_trigger::sequence);
       m.player->page_stop();
     },
     {"Long|manual|cut off by a page", "Long|sequence|cut off by a page"}},
    {"StoppedByTheUser",
     [](Missed& m) {
       m.player->play_announcement(&m.st.content.list[0], play_trigger::manual);
       m.player->stop();
     },
     {"Long|manual|stopped by the user"}},
    {"UnpluggedThenReopened",
     [](Missed& m) {
       m.player->play_announcement(&m.st.content.list[0], play_trigger::fixed_time);
       m.device.unplug();
       EXPECT_FALSE(m.player->is_open());
       EXPECT_FALSE(m.device.is_open());
       m.device.unplugged = false;  // plugged in again
       EXPECT_FALSE(m.player->play_announcement(&m.st.content.list[1], play_trigger::manual));
       EXPECT_EQ(m.device.opens, 2);
       m.finish();
     },
     {"Long|fixed time|device lost during the play"}},
    {"ProgramEnds",
     [](Missed& m) {
       m.player->play_announcement(&m.st.content.list[0], play_trigger::manual);
       m.player.reset();
     },
     {"Long|manual|cut off by the program's end"}},
    {"RemoteSoundFile",
     [](Missed& m) {
       m.device.fail_open = true;
       m.player->play_file(m.folder.file("nothere.aud"), play_trigger::remote);
     },
     {"nothere.aud|remote|device failed to open"}},
};

INSTANTIATE_TEST_SUITE_P(Reasons, MissedByPlayer, ::testing::ValuesIn(player_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Missed, EachTriggerOfTheTickIsNamed) {
  st.settings.sequence_interval = 1;
  add("Fixed", 1, {hms(8, 0, 5)});
  add("Every", 1, {}, 15);
  ann_blk seq = test::always_current("Seq", 0);
  seq.autoplay = -1;
  st.content.list.push_back(seq);
  device.fail_open = true;
  tick.set_up();
  for (int s = hms(8, 0, 10); s <= hms(8, 15, 0); s += 10)
    t1(s);  // Fixed at 08:00:05, Every at 08:15
  clock.set(day0 + hms(8, 15, 30));
  tick.on_timer(timer_sequence);
  tick.on_timer(timer_sequence);
  EXPECT_EQ(reasons(), (std::vector<std::string>{"Fixed|fixed time|device failed to open",
                                                 "Every|every 15 minutes|device failed to open",
                                                 "Seq|sequence|device failed to open"}));
}

TEST_F(Missed, APlayPastTheCatchUpRecordsWhatItPushedOut) {
  // 07:58 to 08:10: 08:00 is pushed out of the next window, 08:07 still starts.
  add("Long", 12 * 60, {hms(7, 58, 0)});
  add("Eight", 1, {hms(8, 0, 0)});
  add("Seven", 1, {hms(8, 7, 0)});
  at(hms(7, 57, 59));
  tick.set_up();
  t1(hms(7, 58, 0));
  ASSERT_TRUE(player->is_open());
  for (int s = hms(7, 58, 1); s <= hms(8, 10, 1) && player->is_open(); s += 30) {
    clock.set(day0 + s);
    st.clock.refresh_now(clock);
    // About 30 seconds of buffers (81 of 8192 samples), the pass held meanwhile.
    for (int b = 0; b < 81 && device.complete_next(); ++b) {
    }
    tick.on_timer(timer_schedule);
  }
  t1(hms(8, 10, 2));
  EXPECT_TRUE(player->is_open());  // Seven
  EXPECT_EQ(reasons(), std::vector<std::string>{
                           "Eight|fixed time|skipped: another announcement still playing past the "
                           "300-second catch-up"});
}

TEST_F(Missed, AClockSetForwardOrBackIsANoteNotMisses) {
  add("Nine", 1, {hms(9, 0, 0)});
  add("Half", 1, {hms(10, 58, 0)});
  at(hms(8, 0, 0));
  tick.set_up();
  t1(hms(8, 0, 1));
  t1(hms(11, 0, 0));  // forward: Nine is skipped, Half is within the last 300 seconds
  finish();
  t1(hms(11, 0, 1));
  t1(hms(10, 0, 0));  // back
  auto entries = missed();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].trigger, "clock");
  EXPECT_EQ(entries[0].reason, "clock set forward from 2023-11-14 08:00:01 to 2023-11-14 11:00:00");
  EXPECT_EQ(entries[1].reason, "clock set back from 2023-11-14 11:00:01 to 2023-11-14 10:00:00");
}

}  // namespace
}  // namespace zta
