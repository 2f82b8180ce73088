// zta report over a day that the real tick and player (with the program's own play log and missed
// file) lived through against the simulated device: a clip deleted at midday, the device failing
// for an hour, a play pushed out past the catch-up, and one manual play.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "announcements/clip_files.hpp"
#include "announcements/settings_store.hpp"
#include "app/scheduler/scheduler_tick.hpp"
#include "platform/sim/recording_aux_mixer.hpp"
#include "platform/sim/simulated_loop.hpp"
#include "tests/common/announcement_maker.hpp"
#include "tests/common/temp_folder.hpp"
#include "tests/common/tick_day.hpp"

namespace zta {
namespace {

namespace fs = std::filesystem;
using test::day0;
using test::hms;
using test::quiet_callouts;

std::string run(const std::string& command) {
  std::string out;
  std::FILE* p = ::popen(command.c_str(), "r");
  if (p == nullptr) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  ::pclose(p);
  return out;
}

class ReportTool : public ::testing::Test {
 protected:
  ReportTool() : st(folder.path(), day0) {
    st.settings.sound_out_device = 0;
    st.settings.chimes = 0;
    st.settings.sequence_interval = 0;
    st.settings.music_device = -1;
  }
  int add(const char* name, std::vector<std::int32_t> fixed, std::int16_t autoplay,
          double seconds) {
    const int n = st.content.list.count();
    ann_blk a = test::always_current(name, n);
    a.autoplay = autoplay;
    a.fixed_times = std::move(fixed);
    std::ofstream(clip_path(st, n), std::ios::binary)
        << std::string(static_cast<std::size_t>(seconds * 22050) * 2, '\1');
    st.content.list.push_back(a);
    st.clip_use[static_cast<std::size_t>(n)] |= clip_allocated;
    return n;
  }
  void save() {
    auto bytes = encode_settings_file(st);
    std::ofstream(folder.file("vrxpa.dat"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  std::string report(const std::string& extra = {}, const std::string& to = "2023-11-15 00:00:00") {
    return run(std::string(ZTA_TOOL) + " report --data '" + folder.path() +
               "' --from '2023-11-14 00:00:00' --to '" + to + "'" + extra + " 2>&1");
  }

  test::temp_folder folder;
  station st;
};

TEST_F(ReportTool, ADayWithFaultsCountsWhatWasInjected) {
  const int quarter = add("Quarter", {}, 15, 3);
  add("Hourly", {}, 60, 10);
  const int fixed = add("Fixed", {hms(8, 0, 0), hms(12, 0, 0), hms(16, 0, 0)}, 0, 5);
  add("Long", {hms(6, 0, 0)}, 0, 10 * 60);  // plays 06:00 to 06:10
  add("Six", {hms(6, 3, 0)}, 0, 1);         // pushed out of the window opened at 06:10
  save();

  {
    // The program's day: its own play log and missed file in the data folder.
    simulated_loop loop(day0);
    loop.device().keep_written = false;
    recording_aux_mixer mixer;
    announcement_player player(st, loop.device(), mixer);
    remote_folder remote;
    quiet_callouts calls;
    scheduler_tick tick(st, player, remote, loop.clock(), calls);
    st.clock.set(day0);
    tick.set_up();
    for (const timer_entry& t : timer_table) loop.arm(t.id, t.first_delay_ms);
    loop.on_timer = [&](int id) { return tick.on_timer(id); };
    auto until = [&](int secs) {
      loop.run_until(static_cast<std::int64_t>(secs) * simulated_loop::ticks_per_second);
    };
    until(hms(10, 31, 0));
    player.play_announcement(&st.content.list[fixed], play_trigger::manual);
    until(hms(12, 7, 0));
    fs::remove(clip_path(st, quarter));
    until(hms(13, 59, 30));
    loop.device().fail_open = true;
    until(hms(14, 59, 30));
    loop.device().fail_open = false;
    until(hms(24, 1, 0));
  }

  // The period ends before midnight: a run to its end and the program's day then agree.
  const std::string day_end = "2023-11-14 23:59:00";
  const std::string out = report(" --json", day_end);
  const auto j = nlohmann::json::parse(out, nullptr, false);
  ASSERT_FALSE(j.is_discarded()) << out;
  const auto& t = j["totals"];
  // Due in (00:00:00, 23:59:00]: 95 quarters, 23 hours, 3 fixed times, Long and Six.
  EXPECT_EQ(t["expected"], 95 + 23 + 3 + 1 + 1);
  // Quarter from 12:15 to 23:45 has no clip (47 starts), except the 4 in the device's hour, which
  // fail with Hourly's 14:00 for the device; Six has no log line.
  EXPECT_EQ(t["reasons"]["clip missing or unreadable"], 47 - 4);
  EXPECT_EQ(t["reasons"]["device failed to open"], 4 + 1);
  EXPECT_EQ(t["reasons"][std::string(reason_text(missed_reason::busy_past_catch_up))], 1);
  EXPECT_EQ(t["missed"], 43 + 5 + 1);
  EXPECT_EQ(t["logged"], 123 - 1);
  EXPECT_EQ(t["played"], 123 - 49);
  EXPECT_EQ(t["not_recorded"], 0);
  ASSERT_EQ(t["unexplained"], 1);
  EXPECT_EQ(j["unexplained"][0]["name"], "Fixed");
  EXPECT_EQ(j["unexplained"][0]["time"], "2023-11-14 10:31");

  const std::string text = report({}, day_end);
  EXPECT_NE(text.find("Total: expected 123, logged 122, played 74, missed 49, not recorded 0"),
            std::string::npos)
      << text;
  std::printf("%s", text.c_str());
}

TEST_F(ReportTool, AClockSetForwardIsNotAMiss) {
  add("Quarter", {}, 15, 3);
  save();
  {
    simulated_loop loop(day0);
    loop.device().keep_written = false;
    recording_aux_mixer mixer;
    announcement_player player(st, loop.device(), mixer);
    remote_folder remote;
    quiet_callouts calls;
    // The program's clock runs an hour ahead from 10:00 on (the loop's own time runs on).
    struct ahead_clock final : wall_clock {
      const simulated_loop& loop;
      explicit ahead_clock(const simulated_loop& l) : loop(l) {}
      std::int32_t local_now() const override {
        const std::int32_t t = loop.clock().local_now();
        return t >= day0 + hms(10, 0, 0) ? t + 3600 : t;
      }
    } clock(loop);
    scheduler_tick tick(st, player, remote, clock, calls);
    st.clock.set(day0);
    tick.set_up();
    for (const timer_entry& t : timer_table) loop.arm(t.id, t.first_delay_ms);
    loop.on_timer = [&](int id) { return tick.on_timer(id); };
    loop.run_until(static_cast<std::int64_t>(hms(23, 1, 0)) * simulated_loop::ticks_per_second);
  }
  const auto j = nlohmann::json::parse(report(" --json"), nullptr, false);
  ASSERT_FALSE(j.is_discarded());
  const auto& t = j["totals"];
  EXPECT_EQ(t["expected"], 96);
  // 10:00 to 10:45 were never lived through; 11:00 came at the jump.
  EXPECT_EQ(t["skipped_by_clock"], 4);
  EXPECT_EQ(t["missed"], 0);
  EXPECT_EQ(t["not_recorded"], 0);
  EXPECT_EQ(t["played"], 92);
  ASSERT_EQ(j["clock"].size(), 1u);
}

TEST_F(ReportTool, BadArgumentsAndAMissingFolderAreReported) {
  struct bad_case {
    std::string args;
    std::string says;
  };
  const bad_case cases[] = {
      {" report --data /nonexistent/zta --from '2023-11-14 00:00:00' --to '2023-11-14 01:00:00'",
       "cannot read"},
      {" report --data x --from '2023-11-14' --to '2023-11-14 01:00:00'", "YYYY-MM-DD HH:MM:SS"},
      {" report --data x --from '2023-11-14 02:00:00' --to '2023-11-14 01:00:00'", "before"},
      {" report --data x --from '2023-11-14 00:00:00' --to '2023-11-14 01:00:00' --slack -1",
       "--slack"},
      {" report --from '2023-11-14 00:00:00'", "report needs"},
  };
  for (const bad_case& c : cases) {
    std::string out;
    std::FILE* p = ::popen((std::string(ZTA_TOOL) + c.args + " 2>&1").c_str(), "r");
    ASSERT_NE(p, nullptr);
    char buf[512];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int status = ::pclose(p);
    EXPECT_NE(status, 0) << c.args;
    EXPECT_NE(out.find(c.says), std::string::npos) << c.args << ": " << out;
  }
}

}  // namespace
}  // namespace zta
