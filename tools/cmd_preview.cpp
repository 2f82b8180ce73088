// zta preview --data DIR --from "YYYY-MM-DD HH:MM:SS" --to "YYYY-MM-DD HH:MM:SS": what the
// scheduler would play between two moments. The real tick handlers and the real player run
// against a simulated clock and a simulated device that completes buffers in simulated time, so a
// day takes a fraction of a second. Nothing in DIR is written or deleted: no play log, no clip
// clean-up, and the control folder is left alone (remote requests are not previewed). With no
// sound-out device configured (-1) a start prints no end line, since nothing plays.
#include <cinttypes>
#include <cstdio>
#include <optional>
#include <string>

#include "announcements/calendar.hpp"
#include "announcements/clip_files.hpp"
#include "announcements/settings_store.hpp"
#include "announcements/text_encoding.hpp"
#include "app/scheduler/scheduler_tick.hpp"
#include "base/file_io.hpp"
#include "platform/sim/recording_aux_mixer.hpp"
#include "platform/sim/simulated_loop.hpp"
#include "tools/commands.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {
namespace {

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

// Prints the start and end of every programme the tick starts.
class preview_printer final : public tick_callouts {
 public:
  preview_printer(const station& st, const simulated_loop& loop, const announcement_player& player)
      : st_(st), loop_(loop), player_(player) {}

  void show_notice(const std::string&) override {}
  bool run_automatic_update() override { return false; }
  void close_splash() override {}
  void started(start_trigger why, int index) override {
    if (why == start_trigger::remote) return;
    name_ = display_text(st_.content.list[index].name_text());
    index_ = index;
    playing_ = player_.is_open();
    std::printf("%s start %s %d %s\n", stamp().c_str(),
                why == start_trigger::scheduled ? "scheduled" : "sequence", index, name_.c_str());
  }
  void completed() {
    if (playing_ && !player_.is_open()) {
      playing_ = false;
      std::printf("%s end %d %s\n", stamp().c_str(), index_, name_.c_str());
    }
  }

 private:
  std::string stamp() const {
    const std::int64_t ms = loop_.ticks() * 1000 / simulated_loop::ticks_per_second % 1000;
    const calendar_fields f = break_moment(loop_.moment());
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", f.year, f.month, f.day,
                  f.hour, f.minute, f.second, static_cast<int>(ms));
    return buf;
  }

  const station& st_;
  const simulated_loop& loop_;
  const announcement_player& player_;
  std::string name_;
  int index_ = -1;
  bool playing_ = false;
};

}  // namespace

int cmd_preview(const arg_list& args) {
  auto opts = parse_options(args, {"--data", "--from", "--to"}, {});
  if (!opts) return 2;
  auto dir = opts->value("--data");
  auto from_text = opts->value("--from");
  auto to_text = opts->value("--to");
  if (!dir || !from_text || !to_text) {
    std::fprintf(stderr, "zta: preview needs --data DIR --from \"YYYY-MM-DD HH:MM:SS\" --to ...\n");
    return 2;
  }
  auto from = parse_moment(*from_text);
  auto to = parse_moment(*to_text);
  if (!from || !to) {
    std::fprintf(stderr, "zta: a moment must read YYYY-MM-DD HH:MM:SS\n");
    return 2;
  }
  if (*to < *from) {
    std::fprintf(stderr, "zta: --to lies before --from\n");
    return 2;
  }

  station st(*dir, *from);
  st.clock.set(*from);
  const std::string path = st.data_folder + settings_file_name;
  std::vector<std::uint8_t> bytes;
  if (!read_whole_file(path, bytes)) {
    std::fprintf(stderr, "zta: cannot read %s\n", path.c_str());
    return 1;
  }
  // Read as the program would, but without the clip clean-up: a preview changes nothing.
  decode_settings_file(bytes, st);
  for (const ann_blk& a : st.content.list) {
    if (valid_clip(a.clip)) st.clip_use[static_cast<std::size_t>(a.clip)] |= clip_allocated;
  }

  simulated_loop loop(*from, 128);  // any sound-out index counts as present
  loop.device().keep_written = false;
  recording_aux_mixer mixer(std::vector<std::string>(128, "preview: line"));
  announcement_player player(st, loop.device(), mixer, &no_play_log);
  remote_folder remote;  // off: the preview never touches a control folder
  preview_printer printer(st, loop, player);
  scheduler_tick tick(st, player, remote, loop.clock(), printer);

  tick.set_up();
  for (const timer_entry& t : timer_table) loop.arm(t.id, t.first_delay_ms);
  loop.on_timer = [&](int id) { return tick.on_timer(id); };
  loop.on_completion = [&] { printer.completed(); };
  loop.run_until(static_cast<std::int64_t>(*to - *from) * simulated_loop::ticks_per_second);
  player.stop();
  return 0;
}

}  // namespace zta::tool
