#pragma once
// The audio side of the Announcement Control dialog: recording into an announcement from the
// user record device and audition of a clip on the audition play device, one at a time, so a user
// can record and listen on a headset while the PA output carries on.
//
// Recording: 14 buffers of 2048 samples; each filled block goes through the rectmp's first stage
// and its level to the meter. Stopping always processes what was recorded into the announcement's
// clip (through `processor`, the "Process for Telephone" dialog in the program), whatever stopped
// it. Audition: 7 buffers of 8192 bytes read from the clip; it ends by itself when a short buffer
// (the clip's end) completes. Both run on the main thread; the devices' deliveries come from the
// event loop and late ones are ignored by the mode.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "announcements/station.hpp"
#include "audio/recproc.hpp"
#include "audio/rectmp.hpp"
#include "base/file_io.hpp"
#include "platform/api/wave_in.hpp"
#include "platform/api/wave_out.hpp"

namespace zta {

inline constexpr int record_buffer_count = 14;
inline constexpr std::uint32_t record_buffer_bytes = 4096;  // 2048 samples, about 93 ms
inline constexpr int audition_buffer_count = 7;
inline constexpr std::uint32_t audition_buffer_bytes = 8192;  // 4096 samples, about 186 ms
inline constexpr std::size_t edit_audio_memory = 57344;       // both modes' buffers
inline constexpr int level_meter_empty = -60;

enum class edit_audio_mode { idle, recording, auditioning };

// Why an audio button did not start anything. The first five have a message box.
enum class audio_refusal {
  none,  // started
  record_disabled,
  record_protected,
  record_open_failed,
  play_disabled,
  play_open_failed,
  silent,  // no announcement, no clip, no memory: nothing is said
};

struct audio_message {
  const char* caption = nullptr;  // null: no box
  const char* text = nullptr;
};
audio_message refusal_message(audio_refusal r);

inline constexpr char delete_caption[] = "Confirm Delete Announcement";
extern const char delete_text[];

// "User Message %.2d%.2d%.2d" with the hour, minute and second of a moment on the `now` scale.
std::string new_record_name(std::int32_t now);

class edit_audio final : public wave_in_listener, public wave_out_listener {
 public:
  // Either device may be null: opening it then fails as a device would.
  edit_audio(station& st, wave_in* record_device, wave_out* audition_device);
  ~edit_audio();  // stops; a recording is still processed
  edit_audio(const edit_audio&) = delete;
  edit_audio& operator=(const edit_audio&) = delete;

  // Each begins by stopping what runs. Record into announcement `index` (which must be user-made).
  audio_refusal record_over(int index);
  // Audition announcement `index`'s clip.
  audio_refusal play(int index);
  // Stops recording or audition. A recording is processed into its announcement (its clip is
  // given up at once; the new one arrives when the processing succeeds). Safe to call again from
  // inside the processing: the mode is idle by then.
  void stop();

  edit_audio_mode mode() const { return mode_; }
  int record_target() const { return target_; }

  // How a stopped recording is processed; empty: process_in_loop, without a dialog.
  recording_processor processor;
  // The level of every recorded block, and level_meter_empty when recording stops.
  std::function<void(int level)> on_level;
  // After every stop, when the mode is idle again (whatever stopped it).
  std::function<void()> on_stopped;

  void buffer_filled(wave_in_header& h) override;
  void buffer_done(wave_header& h) override;

 private:
  void stop_recording();
  void stop_audition();
  void process(rectmp& tmp, int target);
  void refill(wave_header& h);

  station& st_;
  wave_in* in_;
  wave_out* out_;
  edit_audio_mode mode_ = edit_audio_mode::idle;
  std::unique_ptr<std::uint8_t[]> memory_;
  std::array<wave_in_header, record_buffer_count> in_headers_{};
  std::array<wave_header, audition_buffer_count> out_headers_{};
  int target_ = -1;
  std::unique_ptr<rectmp> recording_;
  file_handle audition_file_;
};

}  // namespace zta
