// zta preview --data DIR --from "YYYY-MM-DD HH:MM:SS" --to "YYYY-MM-DD HH:MM:SS": what the
// scheduler would play between two moments (see schedule_run.hpp: the real tick and player on a
// simulated clock and device; nothing in DIR changes). With no sound-out device configured (-1) a
// start prints no end line, since nothing plays.
#include <array>
#include <cinttypes>
#include <cstdio>
#include <string>

#include "announcements/calendar.hpp"
#include "announcements/text_encoding.hpp"
#include "base/file_io.hpp"
#include "tools/commands.hpp"
#include "tools/schedule_run.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {
namespace {

// Prints the start and end of every programme the tick starts.
class preview_printer final : public schedule_watch {
 public:
  void started(const station& st, const simulated_loop& loop, const announcement_player& player,
               start_trigger why, int index) override {
    name_ = display_text(st.content.list[index].name_text());
    index_ = index;
    playing_ = player.is_open();
    std::printf("%s start %s %d %s\n", stamp(loop).data(),
                why == start_trigger::scheduled ? "scheduled" : "sequence", index, name_.c_str());
  }
  void completed(const simulated_loop& loop, const announcement_player& player) override {
    if (playing_ && !player.is_open()) {
      playing_ = false;
      std::printf("%s end %d %s\n", stamp(loop).data(), index_, name_.c_str());
    }
  }

 private:
  // The moment_text of the present instant and its milliseconds, without a string per line.
  static std::array<char, 40> stamp(const simulated_loop& loop) {
    const std::int64_t ms = loop.ticks() * 1000 / simulated_loop::ticks_per_second % 1000;
    const calendar_fields f = break_moment(loop.moment());
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02d.%03d", f.year, f.month,
                  f.day, f.hour, f.minute, f.second, static_cast<int>(ms));
    return text;
  }

  std::string name_;
  int index_ = -1;
  bool playing_ = false;
};

}  // namespace

int cmd_preview(const arg_list& args) {
  auto opts = parse_options(args, {"--data", "--from", "--to"}, {});
  if (!opts) return 2;
  const auto period = period_options(*opts, "preview");
  if (!period) return 2;
  const std::int32_t from = period->from;
  const std::int32_t to = period->to;
  // A year is a million lines: hand them on in large blocks, not one call per 4 KB. Static, so
  // that it outlives every use of the stream, the flush at exit included.
  static std::array<char, large_io_block> out_buffer;
  std::setvbuf(stdout, out_buffer.data(), _IOFBF, out_buffer.size());
  preview_printer printer;
  const bool ran = run_schedule(period->dir, from, to, printer);
  std::fflush(stdout);
  return ran ? 0 : 1;
}

}  // namespace zta::tool
