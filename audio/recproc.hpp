#pragma once
// The second stage of every recording and import: reads a rectmp back, applies the normalising
// gain with a one-block look-ahead peak limiter, trims leading and trailing quiet, and writes a
// new clip. A job in one-block steps so the "Process for Telephone" dialog keeps Cancel live.
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "announcements/station.hpp"
#include "audio/rectmp.hpp"
#include "base/file_io.hpp"

namespace zta {

enum class level_warning { very_high, very_low };
// One line for logs and the tool, e.g. "warn: level very high".
const char* level_warning_tag(level_warning w);
// The message box of the dialog: caption "Record Level Warning" and the warning's text.
inline constexpr char record_level_caption[] = "Record Level Warning";
const char* level_warning_text(level_warning w);

// Gains at which the processing warns: at or below the first the recording is so loud that it is
// cut by 9 dB or more; at the second, the largest the gain rule gives, it needed 18 dB or more of
// lift, which is as far as the processing can bring it.
inline constexpr int gain_warn_high = 400;
inline constexpr int gain_warn_low = 8145;

enum class recproc_failure {
  none,
  silent,        // never got loud enough to start a clip
  no_free_clip,  // every clip number is allocated or held
  clip_not_created,
  write_failed,
  cancelled,
};

class recproc {
 public:
  static constexpr int block_samples = 512;
  static constexpr int block_bytes = 2 * block_samples;

  // The announcement's clip and length fields get -1 and 0 at once; they receive the new clip
  // and its length (samples up to one block after the last loud block) when processing succeeds.
  recproc(station& st, rectmp* source, std::int16_t* clip, std::int32_t* id_serial);
  ~recproc();  // an unfinished clip is released (its file deleted unless the player holds it)
  recproc(const recproc&) = delete;
  recproc& operator=(const recproc&) = delete;

  // Sets up; false when processing ended at once (no source, no free clip, clip not created).
  bool start();
  // One block; false once processing has finished (see succeeded()).
  bool step();
  // The user's Cancel: ends now, the partly written clip goes.
  void cancel();

  bool running() const { return running_; }
  bool succeeded() const { return succeeded_; }
  recproc_failure failure() const { return failure_; }
  const std::vector<level_warning>& warnings() const { return warnings_; }
  int gain() const { return gain_; }
  std::int32_t written() const { return written_; }

 private:
  void finish();
  void fail(recproc_failure f);
  void write_samples(const std::int16_t* s, std::int32_t bytes);

  station& st_;
  rectmp* source_;
  std::vector<char> clip_buffer_;  // outlives clip_file_
  file_handle clip_file_;
  std::int16_t new_clip_ = -1;
  std::int32_t end_position_ = 0;
  std::int32_t written_ = 0;
  int gain_ = 1024;            // Q10
  std::int32_t smoothed_ = 0;  // Q20
  using block = std::array<std::int16_t, block_samples>;
  block& held() { return blocks_[held_]; }
  block& ahead() { return blocks_[1 - held_]; }

  block out_{};
  std::array<block, 2> blocks_{};  // the held block and the look-ahead, which trade places
  std::size_t held_ = 0;
  std::int32_t held_peak_ = 0;
  bool started_ = false;
  std::int16_t* result_clip_;
  std::int32_t* result_length_;
  bool running_ = false;
  bool succeeded_ = false;
  bool write_error_ = false;
  recproc_failure failure_ = recproc_failure::none;
  std::vector<level_warning> warnings_;
};

// How a finished recording or import becomes a clip: the processing above, run to its end by
// whoever shows it (the "Process for Telephone" dialog) or in a plain loop. `clip` and
// `id_serial` get -1 and 0 at once and the new clip and its length on success; the result says
// how it ended (none: a clip was made).
using recording_processor =
    std::function<recproc_failure(rectmp& source, std::int16_t& clip, std::int32_t& id_serial)>;

// The processing in a plain loop, without a dialog; the warnings it raised are appended to
// `warnings` when given.
recproc_failure process_in_loop(station& st, rectmp& source, std::int16_t& clip,
                                std::int32_t& id_serial,
                                std::vector<level_warning>* warnings = nullptr);

}  // namespace zta
