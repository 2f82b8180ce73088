#pragma once
// The schedule of a data folder run between two moments: the real tick handlers and the real
// player against a simulated clock and a simulated device that completes buffers in simulated
// time, so a day takes a fraction of a second. Nothing in the folder is written or deleted: no
// play log, no missed file, no clip clean-up, and the control folder is left alone (remote
// requests are not run). Shared by `zta preview` and `zta report`.
#include <cstdint>
#include <optional>
#include <string>

#include "announcements/calendar.hpp"
#include "announcements/missed_log.hpp"
#include "app/scheduler/scheduler_tick.hpp"
#include "platform/sim/simulated_loop.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {

// "YYYY-MM-DD HH:MM:SS" on the `now` scale.
std::optional<std::int32_t> parse_moment(const std::string& text);
// The same form back: moment_text of announcements/calendar.hpp.

// The data folder and the period a command runs the schedule over.
struct schedule_period {
  std::string dir;
  std::int32_t from = 0;
  std::int32_t to = 0;
};
// Reads --data, --from and --to; when one is missing or does not read, or the period runs
// backwards, says so on stderr (naming `command`) and gives nothing.
std::optional<schedule_period> period_options(const options& opts, const char* command);

class schedule_watch {
 public:
  // The tick asked the player to start announcement `index` (not for remote requests).
  virtual void started(const station& st, const simulated_loop& loop,
                       const announcement_player& player, start_trigger why, int index) = 0;
  // After each buffer completion.
  virtual void completed(const simulated_loop& /*loop*/, const announcement_player& /*player*/) {}
  // What the tick and the player would have put in the missed file.
  virtual void missed(const missed_entry& /*e*/) {}

 protected:
  ~schedule_watch() = default;
};

// Loads the settings of `dir` and runs from `from` to `to`. False, with one line on stderr, when
// the settings file cannot be read.
bool run_schedule(const std::string& dir, std::int32_t from, std::int32_t to,
                  schedule_watch& watch);

}  // namespace zta::tool
