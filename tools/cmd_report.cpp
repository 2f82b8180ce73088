// zta report --data DIR --from "YYYY-MM-DD HH:MM:SS" --to "..." [--json] [--slack SECONDS]:
// proof of play. The schedule is run over the period exactly as `zta preview` runs it, and what
// it would have started is held against the month logs and missed files of the period: per
// announcement the expected starts, the plays logged for them, the starts that did not sound with
// their reasons, and the starts nobody recorded; then the plays the schedule does not explain
// (manual, remote) and the clock changes, whose skipped and replayed starts are shown as such.
//
// A logged play (minute precision) or a missed event (seconds) answers an expected start of the
// same name when it lies within --slack seconds of it (default 60: the program's timers and the
// run's do not tick at the same instants).
#include <algorithm>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "announcements/calendar.hpp"
#include "announcements/play_history.hpp"
#include "announcements/play_log.hpp"
#include "announcements/text_encoding.hpp"
#include "tools/commands.hpp"
#include "tools/schedule_run.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {
namespace {

constexpr std::int32_t catch_up = 300;

struct expected_start {
  std::int32_t when = 0;
  std::string name;
  std::string trigger;
  bool skipped = false;  // the run itself skipped it past the catch-up
};

class collector final : public schedule_watch {
 public:
  void started(const station& st, const simulated_loop& loop, const announcement_player&,
               start_trigger why, int index) override {
    const ann_blk& a = st.content.list[index];
    std::string trigger = why == start_trigger::sequence
                              ? trigger_text(play_trigger::sequence)
                              : trigger_text(schedule_trigger(a.autoplay), a.autoplay);
    starts.push_back({loop.moment(), std::string(a.name_text()), trigger, false});
  }
  void missed(const missed_entry& e) override {
    // Only the tick's own skips are part of the schedule; what the run's player met (a clip
    // missing now) says nothing about the past.
    if (e.reason == reason_text(missed_reason::busy_past_catch_up))
      starts.push_back({e.when, e.name, e.trigger, true});
  }
  std::vector<expected_start> starts;
};

struct clock_change {
  std::int32_t when = 0;  // the new reading
  std::int32_t was = 0;   // the reading before
  std::string text;
};

struct actual {
  std::int32_t when = 0;
  bool played = false;
  std::string name;
  std::string trigger;
  std::string reason;
  bool used = false;
};

struct outcome {
  const expected_start* start = nullptr;
  std::string status;  // "played", "missed", "not recorded", "clock set forward"
  std::string reason;
  std::int32_t logged_at = -1;
};

struct per_name {
  std::vector<outcome> rows;
  int expected = 0, logged = 0, played = 0, missed = 0, unrecorded = 0, clock = 0;
  std::map<std::string, int> reasons;
};

// "clock set forward from A to B" as written by the tick.
std::optional<clock_change> parse_clock(const missed_entry& e) {
  const auto from = e.reason.find(" from ");
  const auto to = e.reason.find(" to ", from == std::string::npos ? 0 : from);
  if (from == std::string::npos || to == std::string::npos) return std::nullopt;
  auto was = parse_moment(e.reason.substr(from + 6, to - from - 6));
  auto now = parse_moment(e.reason.substr(to + 4));
  if (!was || !now) return std::nullopt;
  return clock_change{*now, *was, e.reason};
}

bool near_start(const actual& a, std::int32_t when, std::int32_t slack) {
  if (a.played) return a.when <= when + slack && a.when + 59 >= when - slack;
  return a.when >= when - slack && a.when <= when + slack;
}

std::string shown(const std::string& bytes) {
  return display_text(bytes);
}

}  // namespace

int cmd_report(const arg_list& args) {
  auto opts = parse_options(args, {"--data", "--from", "--to", "--slack"}, {"--json"});
  if (!opts) return 2;
  const auto period = period_options(*opts, "report");
  if (!period) return 2;
  const std::int32_t from = period->from;
  const std::int32_t to = period->to;
  std::int32_t slack = 60;
  if (auto s = opts->value("--slack")) {
    char* end = nullptr;
    long v = std::strtol(s->c_str(), &end, 10);
    if (s->empty() || *end != '\0' || v < 0 || v > 3600) {
      std::fprintf(stderr, "zta: --slack must be 0 to 3600 seconds\n");
      return 2;
    }
    slack = static_cast<std::int32_t>(v);
  }
  std::string folder = period->dir;
  if (folder.empty() || folder.back() != '/') folder += '/';

  collector run;
  if (!run_schedule(folder, from, to, run)) return 1;
  std::stable_sort(run.starts.begin(), run.starts.end(),
                   [](const auto& a, const auto& b) { return a.when < b.when; });

  // The months of the period, each file once.
  std::vector<actual> actuals;
  std::vector<clock_change> clocks;
  std::vector<std::string> notes;
  std::vector<std::string> seen;
  for (std::int64_t m = from;; m += 86400) {
    const auto moment = static_cast<std::int32_t>(std::min<std::int64_t>(m, to));
    const std::string log = log_file_name(moment);
    if (std::find(seen.begin(), seen.end(), log) == seen.end()) {
      seen.push_back(log);
      // A play logged in the minute the period starts in counts: the log has no seconds.
      for (logged_play& p : read_log_file(folder + log, moment)) {
        if (p.when + 59 >= from && p.when <= to)
          actuals.push_back({p.when, true, std::move(p.name), {}, {}, false});
      }
      for (missed_entry& e : read_missed_file(folder + missed_file_name(moment), moment)) {
        if (e.when < from || e.when > to) continue;
        if (e.trigger == note_clock) {
          if (auto c = parse_clock(e)) clocks.push_back(*c);
        } else if (e.is_note()) {
          notes.push_back(moment_text(e.when) + " " + e.reason);
        } else {
          actuals.push_back(
              {e.when, false, std::move(e.name), std::move(e.trigger), std::move(e.reason), false});
        }
      }
    }
    if (moment >= to) break;
  }

  // Expected starts the program never lived through: between a clock set forward's old reading
  // and the last catch-up window before its new one. The starts in that window came late, at the
  // new reading.
  auto skipped_by_clock = [&](std::int32_t when) {
    for (const clock_change& c : clocks) {
      if (c.when > c.was && when > c.was && when <= c.when - catch_up) return true;
    }
    return false;
  };
  auto late_after_clock = [&](std::int32_t when) -> std::int32_t {
    for (const clock_change& c : clocks) {
      if (c.when > c.was && when > c.when - catch_up && when <= c.when) return c.when - when;
    }
    return 0;
  };

  std::map<std::string, per_name> by_name;
  for (const expected_start& e : run.starts) {
    per_name& p = by_name[e.name];
    ++p.expected;
    outcome o{&e, {}, {}, -1};
    const std::int32_t late = late_after_clock(e.when);
    actual* logged = nullptr;
    actual* missed = nullptr;
    for (actual& a : actuals) {
      if (a.used || a.name != e.name) continue;
      const bool near =
          near_start(a, e.when, slack) || (late > 0 && near_start(a, e.when + late, slack));
      if (!near) continue;
      if (a.played && logged == nullptr && !e.skipped) logged = &a;
      if (!a.played && missed == nullptr) missed = &a;
    }
    if (logged != nullptr) {
      logged->used = true;
      o.logged_at = logged->when;
      ++p.logged;
    }
    if (missed != nullptr) {
      missed->used = true;
      o.status = "missed";
      o.reason = missed->reason;
      ++p.missed;
      ++p.reasons[o.reason];
    } else if (logged != nullptr) {
      o.status = "played";
      ++p.played;
    } else if (skipped_by_clock(e.when)) {
      o.status = "clock set forward";
      ++p.clock;
    } else {
      o.status = "not recorded";
      ++p.unrecorded;
    }
    p.rows.push_back(std::move(o));
  }

  // What is left: plays and misses the schedule does not explain.
  auto replayed_after_clock = [&](std::int32_t when) {
    for (const clock_change& c : clocks) {
      if (c.when < c.was && when + 59 >= c.when - catch_up && when <= c.was) return true;
    }
    return false;
  };
  struct extra {
    const actual* a;
    std::string source;
  };
  std::vector<extra> extras;
  for (const actual& a : actuals) {
    if (a.used) continue;
    std::string source = a.played ? "manual or remote" : a.trigger;
    if (a.played) {
      // A missed event at the same minute names who asked.
      for (const actual& m : actuals) {
        if (!m.played && m.name == a.name && m.when / 60 == a.when / 60) source = m.trigger;
      }
      if (replayed_after_clock(a.when)) source = "replayed after the clock was set back";
    }
    extras.push_back({&a, source});
  }

  int total_expected = 0, total_logged = 0, total_played = 0, total_missed = 0,
      total_unrecorded = 0, total_clock = 0;
  std::map<std::string, int> total_reasons;
  for (auto& [name, p] : by_name) {
    total_expected += p.expected;
    total_logged += p.logged;
    total_played += p.played;
    total_missed += p.missed;
    total_unrecorded += p.unrecorded;
    total_clock += p.clock;
    for (auto& [r, n] : p.reasons) total_reasons[r] += n;
  }

  if (opts->flag("--json")) {
    nlohmann::json j;
    j["from"] = moment_text(from);
    j["to"] = moment_text(to);
    j["slack_seconds"] = slack;
    j["announcements"] = nlohmann::json::array();
    for (auto& [name, p] : by_name) {
      nlohmann::json a;
      a["name"] = shown(name);
      a["expected"] = p.expected;
      a["logged"] = p.logged;
      a["played"] = p.played;
      a["missed"] = p.missed;
      a["not_recorded"] = p.unrecorded;
      a["skipped_by_clock"] = p.clock;
      a["starts"] = nlohmann::json::array();
      for (const outcome& o : p.rows) {
        nlohmann::json r;
        r["time"] = moment_text(o.start->when);
        r["trigger"] = o.start->trigger;
        r["status"] = o.status;
        if (!o.reason.empty()) r["reason"] = o.reason;
        if (o.logged_at >= 0) r["logged"] = moment_text(o.logged_at).substr(0, 16);
        a["starts"].push_back(r);
      }
      j["announcements"].push_back(a);
    }
    j["unexplained"] = nlohmann::json::array();
    for (const extra& x : extras) {
      nlohmann::json r;
      r["time"] = x.a->played ? moment_text(x.a->when).substr(0, 16) : moment_text(x.a->when);
      r["name"] = shown(x.a->name);
      r["kind"] = x.a->played ? "logged" : "missed";
      r["source"] = x.source;
      if (!x.a->played) r["reason"] = x.a->reason;
      j["unexplained"].push_back(r);
    }
    j["clock"] = nlohmann::json::array();
    for (const clock_change& c : clocks) j["clock"].push_back(c.text);
    j["devices"] = notes;
    j["totals"] = {{"expected", total_expected},
                   {"logged", total_logged},
                   {"played", total_played},
                   {"missed", total_missed},
                   {"not_recorded", total_unrecorded},
                   {"skipped_by_clock", total_clock},
                   {"unexplained", static_cast<int>(extras.size())},
                   {"reasons", total_reasons}};
    std::printf("%s\n", j.dump(2).c_str());
    return 0;
  }

  std::printf("Proof of play %s to %s\n", moment_text(from).c_str(), moment_text(to).c_str());
  for (auto& [name, p] : by_name) {
    std::printf("\n%s: expected %d, logged %d, played %d, missed %d", shown(name).c_str(),
                p.expected, p.logged, p.played, p.missed);
    if (p.unrecorded > 0) std::printf(", not recorded %d", p.unrecorded);
    if (p.clock > 0) std::printf(", skipped by a clock change %d", p.clock);
    std::printf("\n");
    for (auto& [r, n] : p.reasons) std::printf("  %4d  %s\n", n, r.c_str());
    for (const outcome& o : p.rows) {
      if (o.status == "played") continue;
      std::printf("  %s %s: %s%s%s\n", moment_text(o.start->when).c_str(), o.start->trigger.c_str(),
                  o.status.c_str(), o.reason.empty() ? "" : ", ", o.reason.c_str());
    }
  }
  if (!extras.empty()) {
    std::printf("\nNot explained by the schedule:\n");
    for (const extra& x : extras) {
      std::printf("  %s %s: %s%s%s\n",
                  x.a->played ? moment_text(x.a->when).substr(0, 16).c_str()
                              : moment_text(x.a->when).c_str(),
                  shown(x.a->name).c_str(), x.a->played ? "logged, " : "missed, ", x.source.c_str(),
                  x.a->played ? "" : (", " + x.a->reason).c_str());
    }
  }
  if (!clocks.empty()) {
    std::printf("\nClock:\n");
    for (const clock_change& c : clocks) std::printf("  %s\n", c.text.c_str());
  }
  if (!notes.empty()) {
    std::printf("\nDevices:\n");
    for (const std::string& n : notes) std::printf("  %s\n", n.c_str());
  }
  std::printf(
      "\nTotal: expected %d, logged %d, played %d, missed %d, not recorded %d, "
      "skipped by a clock change %d, not explained %d\n",
      total_expected, total_logged, total_played, total_missed, total_unrecorded, total_clock,
      static_cast<int>(extras.size()));
  return 0;
}

}  // namespace zta::tool
