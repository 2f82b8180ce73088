// The scheduler tick's jobs against a fixed clock, the real player and a device that completes
// buffers on demand.
#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "announcements/day_part.hpp"
#include "announcements/remote_ack.hpp"
#include "app/scheduler/scheduler_tick.hpp"
#include "base/file_io.hpp"
#include "platform/sim/fixed_wall_clock.hpp"
#include "platform/sim/recording_aux_mixer.hpp"
#include "platform/sim/simulated_loop.hpp"
#include "platform/sim/test_wave_out.hpp"
#include "tests/common/announcement_maker.hpp"
#include "tests/common/temp_folder.hpp"
#include "tests/common/tick_day.hpp"

namespace zta {
namespace {

namespace fs = std::filesystem;
using test::day0;
using test::hms;

struct fake_callouts final : tick_callouts {
  void show_notice(const std::string& text) override { notices.push_back(text); }
  bool can_show_notice() const override { return notices_visible; }
  bool run_automatic_update() override {
    ++update_checks;
    return update_loads;
  }
  void close_splash() override { ++splash_closed; }
  void started(start_trigger why, int index) override { starts.emplace_back(why, index); }

  std::vector<std::string> notices;
  bool notices_visible = true;
  int update_checks = 0;
  bool update_loads = false;
  int splash_closed = 0;
  std::vector<std::pair<start_trigger, int>> starts;
};

class TickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = folder.root();
    fs::create_directories(dir / "data");
    st.data_folder = (dir / "data").string() + "/";
    st.settings.sequence_interval = 0;
    st.settings.music_device = -1;
    // Remote requests are polled well after the test wrote them.
    remote.clock = [] { return std::chrono::system_clock::now() + std::chrono::hours(1); };
  }

  int add(const char* name, std::vector<std::int32_t> fixed, std::int16_t autoplay = 0) {
    ann_blk a = zta::test::always_current(name, st.content.list.count());
    a.autoplay = autoplay;
    a.fixed_times = std::move(fixed);
    st.content.list.push_back(a);
    return st.content.list.count() - 1;
  }
  void at(int secs, int day = 0) { clock.set(day0 + day * seconds_per_day + secs); }
  void start_at(int secs, int day = 0) {
    at(secs, day);
    st.clock.set(clock.local_now());
    tick.set_up();
  }
  void t1(int secs, int day = 0) {
    at(secs, day);
    EXPECT_EQ(tick.on_timer(timer_schedule), 500);
  }
  void t4(int secs) {
    at(secs);
    EXPECT_EQ(tick.on_timer(timer_sequence), 30000);
  }
  std::vector<int> started(start_trigger why = start_trigger::scheduled) const {
    std::vector<int> out;
    for (auto [w, i] : calls.starts) {
      if (w == why) out.push_back(i);
    }
    return out;
  }
  void finish() { device.complete_all(); }

  zta::test::temp_folder folder;  // removed with everything in it
  fs::path dir;
  station st;
  test_wave_out device;
  recording_aux_mixer mixer;
  announcement_player player{st, device, mixer, &no_play_log};
  remote_folder remote;
  fixed_wall_clock clock;
  fake_callouts calls;
  scheduler_tick tick{st, player, remote, clock, calls};
};

TEST_F(TickTest, FixedTimeStartsOnceEvenWhenTwoTicksLandOnIt) {
  add("Eight", {hms(8, 0, 0)});
  start_at(hms(7, 59, 50));
  t1(hms(7, 59, 59));
  EXPECT_TRUE(started().empty());
  t1(hms(8, 0, 0));
  EXPECT_EQ(started(), std::vector<int>{0});
  finish();
  t1(hms(8, 0, 0));
  t1(hms(8, 0, 0));
  t1(hms(8, 0, 1));
  EXPECT_EQ(started(), std::vector<int>{0});
}

TEST_F(TickTest, SameFixedTimeStartsInListOrderOneAfterTheOther) {
  add("First", {hms(10, 30, 0)});
  add("Second", {hms(10, 30, 0)});
  start_at(hms(10, 29, 0));
  t1(hms(10, 30, 0));
  EXPECT_EQ(started(), std::vector<int>{0});
  t1(hms(10, 30, 10));  // still playing: the pass waits
  EXPECT_EQ(started(), std::vector<int>{0});
  finish();
  t1(hms(10, 30, 40));
  EXPECT_EQ(started(), (std::vector<int>{0, 1}));
}

TEST_F(TickTest, LongPlayDropsStartsOlderThanTheWindowLimit) {
  add("Long", {hms(7, 58, 0)});
  add("Dropped", {hms(8, 0, 0)});
  add("Late", {hms(8, 7, 0)});
  start_at(hms(7, 57, 59));
  t1(hms(7, 58, 0));
  for (int s = hms(7, 58, 1); s < hms(8, 10, 0); s += 30) t1(s);  // the play goes on
  EXPECT_EQ(started(), std::vector<int>{0});
  finish();
  t1(hms(8, 10, 0));  // ends the old pass
  t1(hms(8, 10, 0));  // opens (08:05:00, 08:10:00]
  EXPECT_EQ(tick.due_prev, hms(8, 5, 0));
  EXPECT_EQ(tick.due_cur, hms(8, 10, 0));
  EXPECT_EQ(started(), (std::vector<int>{0, 2}));
}

TEST_F(TickTest, MidnightWindowIsNotClamped) {
  add("Midnight", {0});
  start_at(hms(23, 59, 55));
  t1(3, 1);
  EXPECT_EQ(tick.due_prev, 86395);
  EXPECT_EQ(tick.due_cur, 3);
  EXPECT_EQ(started(), std::vector<int>{0});
}

struct clock_jump_case {
  const char* name;
  int from, to;            // the clock jumps between two ticks
  int prev_after;          // lower end of the window after the jump
  std::vector<int> fixed;  // one announcement per time
  std::vector<int> starts;
};
void PrintTo(const clock_jump_case& c, std::ostream* os) {
  *os << c.name;
}

class ClockJump : public TickTest, public ::testing::WithParamInterface<clock_jump_case> {};

TEST_P(ClockJump, OnlyTheLastFiveMinutesBeforeTheNewTimeStart) {
  const auto& c = GetParam();
  for (int h : c.fixed) add("x", {h});
  start_at(c.from - 1);
  t1(c.from);
  ASSERT_TRUE(started().empty());
  t1(c.from);  // completes the pass of the window up to `from`
  t1(c.to);
  EXPECT_EQ(tick.due_prev, c.prev_after);
  EXPECT_EQ(tick.due_cur, c.to);
  std::vector<int> got;
  for (;;) {
    auto n = started().size();
    finish();
    t1(c.to);
    if (started().size() == n) break;
  }
  EXPECT_EQ(started(), c.starts);
}

const clock_jump_case clock_jumps[] = {
    {"SetBackReplaysTheFiveMinutesBefore",
     hms(12, 0, 0),
     hms(11, 0, 0),
     hms(10, 55, 0),
     {hms(10, 54, 59), hms(10, 55, 0), hms(10, 57, 0), hms(11, 0, 0), hms(11, 30, 0)},
     {2, 3}},
    {"SetForwardSkipsAllButTheLastFiveMinutes",
     hms(12, 0, 0),
     hms(13, 0, 0),
     hms(12, 55, 0),
     {hms(12, 30, 0), hms(12, 55, 0), hms(12, 56, 0), hms(13, 0, 0)},
     {2, 3}},
};
INSTANTIATE_TEST_SUITE_P(Tick, ClockJump, ::testing::ValuesIn(clock_jumps),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TickTest, SequenceIntervalZeroPlaysNothingAndLeavesTheCountdown) {
  add("Seq", {}, -1);
  start_at(hms(9, 0, 0));
  tick.seq_countdown = 7;
  for (int i = 1; i <= 10; ++i) t4(hms(9, 0, 0) + 30 * i);
  EXPECT_TRUE(calls.starts.empty());
  EXPECT_EQ(tick.seq_countdown, 7);
}

TEST_F(TickTest, SequenceIntervalOnePlaysEveryOtherEventAndWaitsWhileBusy) {
  st.settings.sequence_interval = 1;
  add("A", {}, -1);
  add("Fixed only", {});
  add("B", {}, -1);
  start_at(hms(9, 0, 0));
  EXPECT_EQ(tick.seq_countdown, 2);
  t4(hms(9, 0, 30));
  EXPECT_TRUE(calls.starts.empty());
  t4(hms(9, 1, 0));  // one interval after set-up
  EXPECT_EQ(started(start_trigger::sequence), std::vector<int>{2});
  finish();
  t4(hms(9, 1, 30));
  t4(hms(9, 2, 0));
  EXPECT_EQ(started(start_trigger::sequence), (std::vector<int>{2, 0}));
  t4(hms(9, 2, 30));
  t4(hms(9, 3, 0));  // due, but still playing: tried again at the next event
  EXPECT_LE(tick.seq_countdown, 0);
  finish();
  t4(hms(9, 3, 30));
  EXPECT_EQ(started(start_trigger::sequence), (std::vector<int>{2, 0, 2}));
  EXPECT_EQ(tick.seq_countdown, 2);
}

TEST_F(TickTest, SequenceWithOneEligiblePlaysItEveryIntervalWithNoneRestartsTheCountdown) {
  st.settings.sequence_interval = 1;
  add("Only", {}, -1);
  add("Not sequence", {}, 5);
  start_at(hms(9, 0, 0));
  for (int i = 1; i <= 6; ++i) {
    t4(hms(9, 0, 0) + 30 * i);
    finish();
  }
  EXPECT_EQ(started(start_trigger::sequence), (std::vector<int>{0, 0, 0}));
  st.content.list[0].expiry = day0;  // no longer current
  calls.starts.clear();
  t4(hms(9, 3, 30));
  t4(hms(9, 4, 0));
  EXPECT_TRUE(calls.starts.empty());
  EXPECT_EQ(tick.seq_countdown, 2);
}

TEST_F(TickTest, FixedTimeStartRestartsTheSequenceInterval) {
  st.settings.sequence_interval = 3;
  add("Fixed", {hms(9, 0, 10)});
  start_at(hms(9, 0, 0));
  tick.seq_countdown = 1;
  t1(hms(9, 0, 10));
  EXPECT_EQ(tick.seq_countdown, 6);
}

TEST_F(TickTest, PageHaltsOnlyTheFixedTimePass) {
  st.settings.sequence_interval = 1;
  add("Fixed", {hms(9, 0, 3)});
  add("Seq", {}, -1);
  fs::create_directories(dir / "ctl");
  ASSERT_EQ(remote.set_control_folder(st, (dir / "ctl").string()), folder_result::on);
  start_at(hms(9, 0, 0));
  player.set_page_active(true);
  t1(hms(9, 0, 5));
  EXPECT_TRUE(calls.starts.empty());
  tick.seq_countdown = 1;
  t4(hms(9, 0, 6));
  EXPECT_EQ(started(start_trigger::sequence), std::vector<int>{1});
  finish();
  std::vector<std::uint8_t> req(38, 0);
  req[0] = 1;
  std::string name = "fixed";
  std::copy(name.begin(), name.end(), req.begin() + 6);
  std::FILE* f = std::fopen((dir / "ctl" / "r.ply").c_str(), "wb");
  std::fwrite(req.data(), 1, req.size(), f);
  std::fclose(f);
  at(hms(9, 0, 7));
  EXPECT_EQ(tick.on_timer(timer_remote), 500);
  EXPECT_EQ(started(start_trigger::remote), std::vector<int>{0});
  finish();
  player.set_page_active(false);
  t1(hms(9, 0, 8));  // the halted pass resumes once the page ends
  EXPECT_EQ(started(), std::vector<int>{0});
}

TEST_F(TickTest, RemoteRequestWaitsWhilePlaying) {
  add("A", {hms(9, 0, 3)});
  fs::create_directories(dir / "ctl");
  remote.set_control_folder(st, (dir / "ctl").string());
  start_at(hms(9, 0, 0));
  t1(hms(9, 0, 5));
  std::FILE* f = std::fopen((dir / "ctl" / "s.ply").c_str(), "wb");
  const std::uint8_t req[] = {2, 0, 0, 0, 0, 0, 's', '.', 'r', 'a', 'w', 0};
  std::fwrite(req, 1, sizeof req, f);
  std::fclose(f);
  at(hms(9, 0, 6));
  tick.on_timer(timer_remote);
  EXPECT_TRUE(fs::exists(dir / "ctl" / "s.ply"));
  finish();
  tick.on_timer(timer_remote);
  EXPECT_FALSE(fs::exists(dir / "ctl" / "s.ply"));
  EXPECT_EQ(started(start_trigger::remote), std::vector<int>{-1});
}

enum class fault { none, no_device, device_fails, sound_missing };

struct ack_case {
  const char* name;
  bool sound_file;  // a sound file request, else one by name
  fault f;
  bool played;
  const char* detail;
};
void PrintTo(const ack_case& c, std::ostream* os) {
  *os << c.name;
}

class RemoteAcknowledgement : public TickTest, public ::testing::WithParamInterface<ack_case> {};

TEST_P(RemoteAcknowledgement, SaysWhatThePlayerDidWithTheRequest) {
  const ack_case& c = GetParam();
  add("Shop", {});
  const fs::path ctl = dir / "ctl";
  fs::create_directories(ctl);
  ASSERT_EQ(remote.set_control_folder(st, ctl.string()), folder_result::on);
  if (c.f != fault::sound_missing) {
    const std::vector<std::uint8_t> sound(4000, 0x22);
    std::FILE* f = std::fopen(
        ((c.sound_file ? ctl : dir / "data") / (c.sound_file ? "call.aud" : "afl000.aud")).c_str(),
        "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(sound.data(), 1, sound.size(), f);
    std::fclose(f);
  }
  if (c.f == fault::no_device) st.settings.sound_out_device = -1;
  device.fail_open = c.f == fault::device_fails;
  const auto req = c.sound_file ? encode_request(request_kind::sound_file, "call.aud")
                                : encode_request(request_kind::by_name, "SHOP");
  std::FILE* f = std::fopen((ctl / "r.ply").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(req.data(), 1, req.size(), f);
  std::fclose(f);

  start_at(hms(9, 0, 0));
  tick.on_timer(timer_remote);
  EXPECT_EQ(calls.starts.size(), 1u);
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(read_whole_file((ctl / "r.ack").string(), bytes));
  acknowledgement a;
  ASSERT_TRUE(decode_ack(std::string(bytes.begin(), bytes.end()), a));
  EXPECT_EQ(a.request, "r.ply");
  EXPECT_EQ(a.played, c.played);
  EXPECT_EQ(a.detail, c.detail);
  EXPECT_EQ(a.moment, day0 + hms(9, 0, 0));
  EXPECT_EQ(player.is_open(), c.f == fault::none || c.f == fault::sound_missing);
}

INSTANTIATE_TEST_SUITE_P(
    Tick, RemoteAcknowledgement,
    ::testing::Values(
        ack_case{"Played", false, fault::none, true, "started \"Shop\""},
        ack_case{"NoDevice", false, fault::no_device, false, "no sound-out device is chosen"},
        ack_case{"DeviceFails", false, fault::device_fails, false,
                 "the sound-out device could not be opened"},
        ack_case{"ClipMissing", false, fault::sound_missing, false,
                 "the clip of \"Shop\" is missing or unreadable"},
        ack_case{"SoundPlayed", true, fault::none, true, "started the sound file \"call.aud\""},
        ack_case{"SoundDeviceFails", true, fault::device_fails, false,
                 "the sound-out device could not be opened"},
        ack_case{"SoundMissing", true, fault::sound_missing, false,
                 "the sound file \"call.aud\" could not be opened"}),
    [](const auto& info) { return std::string(info.param.name); });

struct counting_notifier final : service_notifier {
  void ready() override { ++readies; }
  void alive() override { ++pings; }
  void stopping() override {}
  int readies = 0;
  int pings = 0;
};

TEST_F(TickTest, OnlyTheScheduleTimerTellsTheServiceManagerThePlayerIsAlive) {
  counting_notifier n;
  tick.set_notifier(&n);
  start_at(hms(9, 0, 0));
  for (int id : {int{timer_notice}, int{timer_sequence}, int{timer_remote}, int{timer_splash}, 77})
    tick.on_timer(id);
  EXPECT_EQ(n.pings, 0);
  t1(hms(9, 0, 1));
  t1(hms(9, 0, 2));
  EXPECT_EQ(n.pings, 2);
  EXPECT_EQ(n.readies, 0);  // ready is the front end's to tell, once set up
  tick.set_notifier(nullptr);
  t1(hms(9, 0, 3));
  EXPECT_EQ(n.pings, 2);
}

struct notice_case {
  const char* name;
  std::int32_t repeat;
  int shows_over_two_days;
};
void PrintTo(const notice_case& c, std::ostream* os) {
  *os << c.name;
}

class NoticeRepeat : public TickTest, public ::testing::WithParamInterface<notice_case> {};

TEST_P(NoticeRepeat, ShownAgainOnlyWithARepeatOfAtLeastADay) {
  st.content.notice = updateinfo{day0 + 10, GetParam().repeat, "Closing early"};
  start_at(hms(0, 0, 0));
  for (int s = 25; s < 2 * seconds_per_day + 100; s += 25) {
    at(s);
    EXPECT_EQ(tick.on_timer(timer_notice), 25000);
  }
  EXPECT_EQ(static_cast<int>(calls.notices.size()), GetParam().shows_over_two_days);
  EXPECT_EQ(calls.notices.front(), "Closing early");
  EXPECT_TRUE(tick.settings_dirty);
}

const notice_case notice_cases[] = {{"Repeat86399ShownOnce", 86399, 1},
                                    {"Repeat86400ShownDaily", 86400, 3}};
INSTANTIATE_TEST_SUITE_P(Tick, NoticeRepeat, ::testing::ValuesIn(notice_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TickTest, ANoticeNobodyCanSeeStaysPending) {
  // A headless copy has no window: the notice waits for a copy that can show it.
  st.content.notice = updateinfo{day0 + 10, 0, "Closing early"};
  calls.notices_visible = false;
  start_at(hms(0, 1, 0));
  tick.on_timer(timer_notice);
  EXPECT_TRUE(calls.notices.empty());
  EXPECT_EQ(st.content.notice.next_show, day0 + 10);
  EXPECT_FALSE(tick.settings_dirty);
  calls.notices_visible = true;
  at(hms(0, 1, 25));
  tick.on_timer(timer_notice);
  EXPECT_EQ(calls.notices, std::vector<std::string>{"Closing early"});
  EXPECT_EQ(st.content.notice.next_show, moment_never);
}

TEST_F(TickTest, UpdateLoadMarksTheSettingsDirty) {
  start_at(hms(9, 0, 0));
  tick.on_timer(timer_notice);
  EXPECT_EQ(calls.update_checks, 1);
  EXPECT_TRUE(calls.notices.empty());
  EXPECT_FALSE(tick.settings_dirty);
  calls.update_loads = true;
  tick.on_timer(timer_notice);
  EXPECT_TRUE(tick.settings_dirty);
}

TEST_F(TickTest, MusicLevelFollowsTheMinute) {
  st.settings.music_device = 0;
  st.settings.music_up_level = 50;
  st.settings.music_down_level = 10;
  st.settings.day_parts[0] = day_part_entry{0, 20, 0, every_day, 9 * 60 + 1, 9 * 60 + 2};
  st.settings.day_part_count = 1;
  start_at(hms(9, 0, 0));
  mixer.history.clear();
  t1(hms(9, 0, 5));  // first event always applies
  t1(hms(9, 0, 30));
  t1(hms(9, 1, 0));  // the day-part entry starts
  t1(hms(9, 1, 30));
  const auto up = volume_word(50), raised = volume_word(70);
  EXPECT_EQ(mixer.history, (decltype(mixer.history){{0, up}, {0, raised}}));
  EXPECT_EQ(tick.last_minute, 9 * 60 + 1);
}

TEST_F(TickTest, UnknownTimersAreNotRearmedAndSplashClosesOnce) {
  start_at(hms(9, 0, 0));
  EXPECT_EQ(tick.on_timer(3), 0);
  EXPECT_EQ(tick.on_timer(timer_splash), 0);
  EXPECT_EQ(calls.splash_closed, 1);
}

// The timers driven as the program arms them, on a simulated clock.
TEST_F(TickTest, FirstDelaysAfterSetUp) {
  st.settings.sequence_interval = 1;
  add("Startup", {hms(9, 0, 3)});
  add("Seq", {}, -1);
  simulated_loop loop(day0 + hms(9, 0, 0));
  announcement_player sim_player(st, loop.device(), mixer, &no_play_log);
  scheduler_tick sim_tick(st, sim_player, remote, loop.clock(), calls);
  st.clock.set(loop.moment());
  sim_tick.set_up();
  for (const auto& t : timer_table) loop.arm(t.id, t.first_delay_ms);
  std::vector<std::pair<int, std::int64_t>> fired;
  loop.on_timer = [&](int id) {
    fired.emplace_back(id, loop.ticks());
    return sim_tick.on_timer(id);
  };
  loop.run_until(61 * simulated_loop::ticks_per_second);
  auto first = [&](int id) {
    for (auto [i, t] : fired) {
      if (i == id) return t * 1000 / simulated_loop::ticks_per_second;
    }
    return std::int64_t{-1};
  };
  EXPECT_EQ(first(timer_schedule), 5000);
  EXPECT_EQ(first(timer_notice), 25000);
  EXPECT_EQ(first(timer_sequence), 30000);
  EXPECT_EQ(first(timer_remote), 10000);
  EXPECT_EQ(first(timer_splash), 5000);
  EXPECT_EQ(calls.splash_closed, 1);
  // Same instant: timer 1 before timer 9.
  EXPECT_EQ(fired[0].first, timer_schedule);
  EXPECT_EQ(fired[1].first, timer_splash);
  // The announcement of 09:00:03 starts at the first timer-1 event; sequence play one interval
  // after set-up (the second timer-4 event).
  EXPECT_EQ(started(start_trigger::scheduled), std::vector<int>{0});
  EXPECT_EQ(started(start_trigger::sequence), std::vector<int>{1});
}

}  // namespace
}  // namespace zta

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "base/file_io.hpp"

namespace zta {
namespace {

TEST_F(TickTest, PipeSocketAndListingRequestsLeaveTheNextScheduledAnnouncementPlaying) {
  add("Ten", {hms(10, 0, 0)});
  const fs::path ctl = dir / "ctl";
  fs::create_directories(ctl);
  ASSERT_EQ(remote.set_control_folder(st, ctl.string()), folder_result::on);
  const std::vector<std::uint8_t> listing_before = [&] {
    std::vector<std::uint8_t> b;
    read_whole_file((ctl / "annlist.dat").string(), b);
    return b;
  }();
  ASSERT_EQ(::mkfifo((ctl / "a.ply").c_str(), 0644), 0);
  int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", (ctl / "b.ply").c_str());
  ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::close(s);
  std::vector<std::uint8_t> req(38, 0);
  req[0] = 2;
  const std::string name = "annlist.dat";
  std::copy(name.begin(), name.end(), req.begin() + 6);
  std::FILE* f = std::fopen((ctl / "c.ply").c_str(), "wb");
  std::fwrite(req.data(), 1, req.size(), f);
  std::fclose(f);

  start_at(hms(9, 59, 50));
  for (int i = 0; i < 4; ++i) {
    at(hms(9, 59, 51 + i));
    EXPECT_EQ(tick.on_timer(timer_remote), 500);  // returns: nothing hung in an open
  }
  EXPECT_TRUE(started(start_trigger::remote).empty());
  EXPECT_FALSE(player.is_open());
  for (const char* gone : {"a.ply", "b.ply", "c.ply"})
    EXPECT_FALSE(fs::exists(fs::symlink_status(ctl / gone))) << gone;
  std::vector<std::uint8_t> listing_after;
  ASSERT_TRUE(read_whole_file((ctl / "annlist.dat").string(), listing_after));
  EXPECT_EQ(listing_after, listing_before);
  t1(hms(10, 0, 1));
  EXPECT_EQ(started(), std::vector<int>{0});
}

}  // namespace
}  // namespace zta
