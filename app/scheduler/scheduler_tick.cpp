#include "app/scheduler/scheduler_tick.hpp"

#include <cstdio>

#include "announcements/calendar.hpp"
#include "announcements/validity.hpp"

namespace zta {

namespace {

constexpr std::int32_t window_limit = 300;
// Timer 1 runs twice a second: a reading further on than this, or behind the last one, is the
// clock being set, not time passing.
constexpr std::int32_t clock_jump_limit = 60;

std::string clock_text(std::int32_t moment) {
  return moment_text(moment);
}

// What a remote request's acknowledgement says of the player's attempt at `what` (an
// announcement's name, or a sound file's).
std::string attempt_detail(play_outcome o, bool sound_file, const std::string& what) {
  const std::string quoted = "\"" + what + "\"";
  switch (o) {
    case play_outcome::started:
      return sound_file ? "started the sound file " + quoted : "started " + quoted;
    case play_outcome::no_device:
      return "no sound-out device is chosen";
    case play_outcome::device_failed:
      return "the sound-out device could not be opened";
    case play_outcome::no_sound:
      return sound_file ? "the sound file " + quoted + " could not be opened"
                        : "the clip of " + quoted + " is missing or unreadable";
  }
  return "not played";
}

}  // namespace

void scheduler_tick::set_up() {
  due_prev = due_cur = st_.clock.now_secs;
  due_next = 0;
  seq_countdown = st_.settings.sequence_interval * 2;
  seq_last = 0;
  last_minute = -1;
  last_reading_ = st_.clock.now;
  held_ = false;
  clock_moved_ = false;
  player_.set_page_active(false);
  player_.apply_music_level();
  player_.apply_mic_level();
}

int scheduler_tick::on_timer(int id) {
  st_.clock.refresh_now(clock_);
  for (const timer_entry& t : timer_table) {
    if (t.id != id) continue;
    switch (id) {
      case timer_schedule:
        watch_clock();
        minute_music_level();
        fixed_time_pass();
        if (notifier_ != nullptr) notifier_->alive();
        break;
      case timer_notice:
        notice_and_update();
        break;
      case timer_sequence:
        sequence_play();
        break;
      case timer_remote:
        remote_poll();
        break;
      case timer_splash:
        splash();
        break;
      default:
        break;
    }
    return t.period_ms;
  }
  return 0;
}

void scheduler_tick::watch_clock() {
  const std::int32_t now = st_.clock.now;
  const std::int32_t was = last_reading_;
  last_reading_ = now;
  if (now >= was && now - was <= clock_jump_limit) return;
  clock_moved_ = true;
  player_.missed().note(
      now, note_clock,
      std::string(now < was ? "clock set back from " : "clock set forward from ") +
          clock_text(was) + " to " + clock_text(now));
}

void scheduler_tick::record_skipped(std::int32_t from, std::int32_t to) {
  // What the limit dropped, tested by the same rule as the pass: (from, to].
  const ablklist& list = st_.content.list;
  for (int i = 0; i < list.count(); ++i) {
    const ann_blk& a = list[i];
    if (!is_due(a, st_.clock, to, from)) continue;
    player_.missed().record(st_.clock.now, a.name_text(), schedule_trigger(a.autoplay),
                            missed_reason::busy_past_catch_up, a.autoplay > 0 ? a.autoplay : 0);
  }
}

void scheduler_tick::minute_music_level() {
  std::int32_t minute = st_.clock.now_secs / 60;
  if (minute == last_minute) return;
  player_.apply_music_level();
  last_minute = minute;
}

void scheduler_tick::fixed_time_pass() {
  const ablklist& list = st_.content.list;
  if (due_next < 0 || due_next >= list.count()) {
    due_prev = due_cur;
    due_next = 0;
  }
  const bool opening = due_prev == due_cur;
  if (opening) due_cur = st_.clock.now_secs;
  if (due_prev == due_cur) return;
  const std::int32_t opened_from = due_prev;
  if (due_prev < due_cur) {
    if (due_cur - due_prev > window_limit) due_prev = due_cur - window_limit;
  } else {
    // Midnight lies inside the window, or the clock was set back.
    due_prev -= seconds_per_day;
    if (due_cur - due_prev > window_limit) due_prev = due_cur - window_limit;
    if (due_prev < 0) due_prev += seconds_per_day;
  }
  if (opening) {
    // What the limit cut off was skipped because the last pass was held past the catch-up by a
    // long play or a page; after a clock change the clock note explains it instead.
    if (due_prev != opened_from && held_ && !clock_moved_) record_skipped(opened_from, due_prev);
    held_ = false;
    clock_moved_ = false;
  }
  // The list is read afresh on every step: a dialog's nested loop may have changed it.
  while (!player_.is_open() && !player_.page_active() && due_next < st_.content.list.count()) {
    int i = due_next;
    if (is_due(st_.content.list[i], st_.clock, due_cur, due_prev)) {
      const ann_blk& a = st_.content.list[i];
      player_.play_announcement(&a, schedule_trigger(a.autoplay));
      seq_countdown = st_.settings.sequence_interval * 2;
      callouts_.started(start_trigger::scheduled, i);
    }
    due_next = static_cast<std::int8_t>(due_next + 1);
  }
  if (due_next < st_.content.list.count()) held_ = true;
}

void scheduler_tick::notice_and_update() {
  if (callouts_.can_show_notice() && take_due_notice(st_.content.notice, st_.clock.now)) {
    std::string text = st_.content.notice.text;
    callouts_.show_notice(text);
    settings_dirty = true;
  }
  if (callouts_.run_automatic_update()) settings_dirty = true;
}

void scheduler_tick::sequence_play() {
  int interval = st_.settings.sequence_interval;
  if (interval == 0) return;
  --seq_countdown;
  if (seq_countdown > 0) return;
  if (player_.is_open()) return;
  const ablklist& list = st_.content.list;
  int count = list.count();
  if (seq_last < 0 || seq_last >= count) seq_last = 0;
  if (count > 0) {
    auto eligible = [&](int i) { return list[i].autoplay < 0 && is_current(list[i], st_.clock); };
    int i = seq_last;
    do {
      i = i + 1 >= count ? 0 : i + 1;
    } while (i != seq_last && !eligible(i));
    if (eligible(i)) {
      player_.play_announcement(&list[i], play_trigger::sequence);
      seq_last = i;
      callouts_.started(start_trigger::sequence, i);
    }
  }
  seq_countdown = interval * 2;
}

void scheduler_tick::remote_poll() {
  if (player_.is_open()) return;
  remote_request r;
  r.kind = request_kind::none;
  if (!remote_.poll_requests(st_, r)) return;
  if (r.kind == request_kind::by_name && r.index >= 0 && r.index < st_.content.list.count()) {
    const std::string name(st_.content.list[r.index].name_text());
    player_.play_announcement(&st_.content.list[r.index], play_trigger::remote);
    const play_outcome o = player_.last_outcome();
    remote_.acknowledge(r, o == play_outcome::started, attempt_detail(o, false, name),
                        st_.clock.now);
    callouts_.started(start_trigger::remote, r.index);
  } else if (r.kind == request_kind::sound_file) {
    const std::string file = r.path.substr(r.path.find_last_of('/') + 1);
    player_.play_file(r.path, play_trigger::remote);
    const play_outcome o = player_.last_outcome();
    remote_.acknowledge(r, o == play_outcome::started, attempt_detail(o, true, file),
                        st_.clock.now);
    callouts_.started(start_trigger::remote, -1);
  }
}

void scheduler_tick::splash() {
  callouts_.close_splash();
}

}  // namespace zta
