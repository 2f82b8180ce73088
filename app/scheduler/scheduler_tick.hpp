#pragma once
// The scheduler tick: the jobs of the main window's one-shot timers. Unattended operation lives
// here: the minute music level, fixed-time and every-N-minutes starts, the notice and the
// automatic update, sequence play, remote requests and the splash.
//
// How the program drives it (one thread, the one that owns the station and the player):
// - after load_settings, call set_up() once, then arm one single-shot timer per entry of
//   `timer_table` with its first delay, in the table's order;
// - when timer `id` fires, call on_timer(id) and, when it returns a period > 0, arm the same timer
//   again with that period (the period counts from the end of the job); 0 means "not again".
// on_timer refreshes the cached clock itself before the job. Timer 2's jobs may run a modal box or
// dialog through `tick_callouts`; the other timers keep firing meanwhile, which is expected.
// app/app_context.cpp and app/player_front_end.cpp wire it up for the program (with
// platform/qt/qt_timer_set.hpp); tools/cmd_preview.cpp on a simulated loop.
#include <array>
#include <cstdint>
#include <string>

#include "announcements/remote_folder.hpp"
#include "announcements/station.hpp"
#include "audio/announcement_player.hpp"
#include "platform/api/service_notifier.hpp"
#include "platform/api/wall_clock.hpp"

namespace zta {

enum timer_id : int {
  timer_schedule = 1,  // minute music level; fixed-time and every-N-minutes starts
  timer_notice = 2,    // announcements notice; automatic update
  timer_sequence = 4,  // sequence play
  timer_remote = 5,    // one remote control folder request
  timer_splash = 9,    // close the start-up splash, once
};

struct timer_entry {
  int id;
  int first_delay_ms;
  int period_ms;  // 0 = not re-armed
};

// Arming order and delays after set-up. Timer 9's first delay is 7000 ms instead when the splash
// is re-opened by a "/logon" or "/service" hand-over.
inline constexpr std::array<timer_entry, 5> timer_table{{
    {timer_notice, 25000, 25000},
    {timer_schedule, 5000, 500},
    {timer_splash, 5000, 0},
    {timer_sequence, 30000, 30000},
    {timer_remote, 10000, 500},
}};
inline constexpr int splash_handover_delay_ms = 7000;

enum class start_trigger { scheduled, sequence, remote };

// What the tick asks of the program's windows.
class tick_callouts {
 public:
  // Shows the notice modally: caption "Announcements Notice:", `text` (may be empty), an OK
  // button and the information icon, owned by the main window. Returns once it is closed.
  virtual void show_notice(const std::string& text) = 0;
  // Whether anyone can see a notice now; while not, a due notice stays pending (default: yes).
  virtual bool can_show_notice() const { return true; }
  // Tests whether the automatic update is due and, when it is, runs the load progress dialog
  // modally; true when it loaded announcements.
  virtual bool run_automatic_update() = 0;
  // Closes the splash window when it is still open.
  virtual void close_splash() = 0;
  // Told after the tick asked the player to start an announcement (default: nothing).
  virtual void started(start_trigger /*why*/, int /*index*/) {}

 protected:
  ~tick_callouts() = default;
};

class scheduler_tick {
 public:
  scheduler_tick(station& st, announcement_player& player, remote_folder& remote,
                 const wall_clock& clock, tick_callouts& callouts)
      : st_(st), player_(player), remote_(remote), clock_(clock), callouts_(callouts) {}

  // The main window's set-up values, from the cached clock and the settings as they are now
  // (call after load_settings): the fixed-time window starts at the present second, sequence play
  // one interval from now, the music level at the first timer-1 event. It also ends any page and
  // gives the music line its level and the microphone line 0.
  void set_up();
  // Runs the job of timer `id`; returns the period to arm it with again, or 0 for none (timer 9,
  // and any identifier that is not one of the table's).
  int on_timer(int id);
  // Told at every timer-1 event that the main thread still runs (none: nobody is told).
  void set_notifier(service_notifier* n) { notifier_ = n; }

  // The jobs, without the clock refresh (tests call them with a clock they set themselves).
  void minute_music_level();
  void fixed_time_pass();
  void notice_and_update();
  void sequence_play();
  void remote_poll();
  void splash();
  // Notes a clock that was set (forward or back) in the missed file; timer 1 calls it first.
  void watch_clock();

  // State, in the main window's order. The main window saves the settings file at its next idle
  // moment when settings_dirty is set, and clears it.
  bool settings_dirty = false;
  std::int32_t due_prev = 0;
  std::int32_t due_cur = 0;
  std::int8_t due_next = 0;
  std::int32_t seq_countdown = 0;
  std::int32_t seq_last = 0;
  std::int32_t last_minute = -1;

 private:
  // Records as missed what was due in (from, to], cut off by the window limit.
  void record_skipped(std::int32_t from, std::int32_t to);

  std::int32_t last_reading_ = 0;  // the clock at the last timer-1 event
  bool held_ = false;              // the present window's pass waited for the player or a page
  bool clock_moved_ = false;       // the clock was set since the present window opened

  station& st_;
  announcement_player& player_;
  remote_folder& remote_;
  const wall_clock& clock_;
  tick_callouts& callouts_;
  service_notifier* notifier_ = nullptr;
};

}  // namespace zta
