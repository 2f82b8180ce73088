// zta preview --data DIR --from "YYYY-MM-DD HH:MM:SS" --to "YYYY-MM-DD HH:MM:SS": what the
// scheduler would play between two moments (see schedule_run.hpp: the real tick and player on a
// simulated clock and device; nothing in DIR changes). With no sound-out device configured (-1) a
// start prints no end line, since nothing plays.
#include <algorithm>
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

// Prints the start and end of every programme the tick starts. A year is a million lines: they
// go out in large blocks, not one call per line or per 4 KB.
class preview_printer final : public schedule_watch {
 public:
  preview_printer() { out_.reserve(large_io_block + 2 * line_max); }
  ~preview_printer() { flush(); }
  preview_printer(const preview_printer&) = delete;
  preview_printer& operator=(const preview_printer&) = delete;

  void started(const station& st, const simulated_loop& loop, const announcement_player& player,
               start_trigger why, int index) override {
    name_ = display_text(st.content.list[index].name_text());
    index_ = index;
    playing_ = player.is_open();
    std::array<char, line_max> rest{};
    std::snprintf(rest.data(), rest.size(), "start %s %d %s\n",
                  why == start_trigger::scheduled ? "scheduled" : "sequence", index, name_.c_str());
    put(loop, rest.data());
  }
  void completed(const simulated_loop& loop, const announcement_player& player) override {
    if (playing_ && !player.is_open()) {
      playing_ = false;
      std::array<char, line_max> rest{};
      std::snprintf(rest.data(), rest.size(), "end %d %s\n", index_, name_.c_str());
      put(loop, rest.data());
    }
  }
  void flush() {
    if (!out_.empty()) std::fwrite(out_.data(), 1, out_.size(), stdout);
    out_.clear();
    std::fflush(stdout);
  }

 private:
  static constexpr std::size_t line_max = 256;  // a stamp, a word, an index and a 31-byte name

  // "YYYY-MM-DD HH:MM:SS.mmm " and the rest of the line.
  void put(const simulated_loop& loop, const char* rest) {
    const std::int64_t ms = loop.ticks() * 1000 / simulated_loop::ticks_per_second % 1000;
    std::array<char, 2 * line_max> text{};
    const int n =
        std::snprintf(text.data(), text.size(), "%s.%03d %s",
                      moment_text_chars(loop.moment()).data(), static_cast<int>(ms), rest);
    if (n > 0) out_.append(text.data(), std::min(static_cast<std::size_t>(n), text.size() - 1));
    if (out_.size() >= large_io_block) flush();
  }

  std::string out_;
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
  preview_printer printer;
  const bool ran = run_schedule(period->dir, from, to, printer);
  printer.flush();
  return ran ? 0 : 1;
}

}  // namespace zta::tool
