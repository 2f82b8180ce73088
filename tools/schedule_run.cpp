#include "tools/schedule_run.hpp"

#include <cstdio>
#include <vector>

#include "announcements/calendar.hpp"
#include "announcements/clip_files.hpp"
#include "announcements/settings_store.hpp"
#include "base/file_io.hpp"
#include "platform/sim/recording_aux_mixer.hpp"

namespace zta::tool {

namespace {

class run_callouts final : public tick_callouts {
 public:
  run_callouts(const station& st, const simulated_loop& loop, const announcement_player& player,
               schedule_watch& watch)
      : st_(st), loop_(loop), player_(player), watch_(watch) {}
  void show_notice(const std::string&) override {}
  bool run_automatic_update() override { return false; }
  void close_splash() override {}
  void started(start_trigger why, int index) override {
    if (why != start_trigger::remote) watch_.started(st_, loop_, player_, why, index);
  }

 private:
  const station& st_;
  const simulated_loop& loop_;
  const announcement_player& player_;
  schedule_watch& watch_;
};

}  // namespace

std::optional<std::int32_t> parse_moment(const std::string& text) {
  calendar_fields f;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%c", &f.year, &f.month, &f.day, &f.hour,
                  &f.minute, &f.second, &tail) != 6) {
    return std::nullopt;
  }
  if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > 31 || f.hour < 0 || f.hour > 23 ||
      f.minute < 0 || f.minute > 59 || f.second < 0 || f.second > 59) {
    return std::nullopt;
  }
  return make_moment(f);
}

std::optional<schedule_period> period_options(const options& opts, const char* command) {
  auto dir = opts.value("--data");
  auto from_text = opts.value("--from");
  auto to_text = opts.value("--to");
  if (!dir || !from_text || !to_text) {
    std::fprintf(stderr, "zta: %s needs --data DIR --from \"YYYY-MM-DD HH:MM:SS\" --to ...\n",
                 command);
    return std::nullopt;
  }
  auto from = parse_moment(*from_text);
  auto to = parse_moment(*to_text);
  if (!from || !to) {
    std::fprintf(stderr, "zta: a moment must read YYYY-MM-DD HH:MM:SS\n");
    return std::nullopt;
  }
  if (*to < *from) {
    std::fprintf(stderr, "zta: --to lies before --from\n");
    return std::nullopt;
  }
  return schedule_period{*dir, *from, *to};
}

bool run_schedule(const std::string& dir, std::int32_t from, std::int32_t to,
                  schedule_watch& watch) {
  station st(dir, from);
  st.clock.set(from);
  const std::string path = st.data_folder + settings_file_name;
  std::vector<std::uint8_t> bytes;
  if (!read_whole_file(path, bytes)) {
    std::fprintf(stderr, "zta: cannot read %s\n", path.c_str());
    return false;
  }
  // Read as the program would, but without the clip clean-up: a run changes nothing.
  decode_settings_file(bytes, st);
  for (const ann_blk& a : st.content.list) {
    if (valid_clip(a.clip)) st.clip_use[static_cast<std::size_t>(a.clip)] |= clip_allocated;
  }

  simulated_loop loop(from, 128);  // any sound-out index counts as present
  loop.device().keep_written = false;
  recording_aux_mixer mixer(std::vector<std::string>(128, "preview: line"));
  announcement_player player(st, loop.device(), mixer, &no_play_log,
                             missed_log([&watch](const missed_entry& e) { watch.missed(e); }));
  // Nothing changes the folder's clips meanwhile: each is opened once, not at every play.
  player.set_fixed_files(true);
  remote_folder remote;  // off: a run never touches a control folder
  run_callouts callouts(st, loop, player, watch);
  scheduler_tick tick(st, player, remote, loop.clock(), callouts);

  tick.set_up();
  for (const timer_entry& t : timer_table) loop.arm(t.id, t.first_delay_ms);
  loop.on_timer = [&](int id) { return tick.on_timer(id); };
  loop.on_completion = [&] { watch.completed(loop, player); };
  loop.run_until(static_cast<std::int64_t>(to - from) * simulated_loop::ticks_per_second);
  player.stop(missed_reason::program_ended);
  return true;
}

}  // namespace zta::tool
