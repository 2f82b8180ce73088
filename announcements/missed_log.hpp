#pragma once
// The second monthly file beside the play log, "missedMMYY.txt": one line for every start that was
// decided on (by the schedule, sequence play, a remote request or the user) but did not sound, and
// the notes that explain gaps (a sound device found again under another number, the clock moved).
//
// Line: "yy/mm/dd - hh:mm:ss<TAB>name<TAB>trigger<TAB>reason\r\n", the play log's date and time
// with the seconds added. A note has an empty name and the trigger "device" or "clock". Tabs,
// carriage returns and line feeds in a name or a text are written as spaces. The file starts with
// a three-line header like the play log's; a line that does not start with a moment is ignored.
//
// Writing is silent on failure, like the play log: proof of play never gets in the way of playing.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zta {

// What decided on a start.
enum class play_trigger : std::uint8_t { fixed_time, every_minutes, sequence, remote, manual };

// Why a start did not sound (or stopped before its end). The moment recorded is the start's, also
// for a play cut off later.
enum class missed_reason : std::uint8_t {
  no_device,           // the sound-out device setting is none
  device_open_failed,  // the device would not open
  clip_missing,        // the clip file is missing or unreadable
  busy_past_catch_up,  // another programme played on past the 300-second catch-up
  cut_off_by_page,     // a live page started while it played
  cut_off_by_play,     // a later play started while it played
  stopped_by_user,     // the Stop command
  confirm_declined,    // the user answered No to the confirm box
  device_lost,         // the device failed (unplugged) while it played
  program_ended,       // the player ended while it played
};

// "fixed time", "every N minutes" (with N), "sequence", "remote", "manual".
std::string trigger_text(play_trigger t, int every_minutes = 0);
// The reason's text, as written in the file.
std::string_view reason_text(missed_reason r);
// The trigger of an announcement started by the schedule: every N minutes when its autoplay is
// N > 0, else fixed time.
play_trigger schedule_trigger(std::int16_t autoplay);

inline constexpr std::string_view note_device = "device";
inline constexpr std::string_view note_clock = "clock";

// "missed%.2d%.2d.txt" with the month and the year's last two digits.
std::string missed_file_name(std::int32_t moment);
// The line for one event (ended by "\r\n").
std::string missed_line(std::int32_t when, std::string_view name, std::string_view trigger,
                        std::string_view reason);
extern const char missed_header[];

// One line read back. `when` is on the `now` scale, the century taken from `near` (the moment
// nearest to which the two-digit year is read).
struct missed_entry {
  std::int32_t when = 0;
  std::string name;
  std::string trigger;
  std::string reason;
  bool is_note() const { return trigger == note_device || trigger == note_clock; }
};
std::optional<missed_entry> parse_missed_line(std::string_view line, std::int32_t near);
// Every entry of one file, in file order; empty when it cannot be read (at most `max_bytes`).
std::vector<missed_entry> read_missed_file(const std::string& path, std::int32_t near,
                                           std::size_t max_bytes = 16u << 20);

// Appends to the month's missed file in one data folder. Cheap to copy.
class missed_log {
 public:
  // `data_folder` with a trailing '/'; empty = record nothing (a preview, a test of something
  // else).
  explicit missed_log(std::string data_folder = {}) : folder_(std::move(data_folder)) {}
  // Hands every event to `sink` instead of a file (a simulated run that collects them).
  explicit missed_log(std::function<void(const missed_entry&)> sink) : sink_(std::move(sink)) {}

  void record(std::int32_t when, std::string_view name, play_trigger trigger, missed_reason reason,
              int every_minutes = 0) const;
  // The same with texts of the caller's own (a remote request refused for a reason only the
  // remote folder knows).
  void record(std::int32_t when, std::string_view name, std::string_view trigger,
              std::string_view reason) const;
  // A note: `what` is note_device or note_clock.
  void note(std::int32_t when, std::string_view what, std::string_view text) const {
    record(when, {}, what, text);
  }

  bool enabled() const { return !folder_.empty() || sink_ != nullptr; }
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
  std::function<void(const missed_entry&)> sink_;
};

}  // namespace zta
