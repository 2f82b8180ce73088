#include "audio/edit_audio.hpp"

#include <cstdio>
#include <new>

#include "announcements/calendar.hpp"
#include "announcements/clip_files.hpp"
#include "audio/sample_bytes.hpp"

namespace zta {

namespace {

constexpr wave_format mono_22050{1, 22050};

void clear_flags(wave_in_header& h) {
  h.flags = 0;
}

std::uint32_t read_up_to(std::FILE* f, std::uint8_t* into, std::uint32_t bytes) {
  if (f == nullptr) return 0;
  const std::size_t got = std::fread(into, 1, bytes, f);
  // A read error ends the audition as the clip's end would; a whole number of samples only.
  if (std::ferror(f) != 0) return 0;
  return static_cast<std::uint32_t>(got & ~static_cast<std::size_t>(1));
}

}  // namespace

const char delete_text[] =
    "Are you sure you want to delete this pre-recorded announcement.\n\r\n\rTo simple stop the "
    "message playing in sequence, simply uncheck the Play in Sequence option.";

audio_message refusal_message(audio_refusal r) {
  switch (r) {
    case audio_refusal::record_disabled:
      return {"Record Function Disabled",
              "The recording function is disabled or not available.\r\n\r\nPlease refer to the "
              "Settings option - User Record Device."};
    case audio_refusal::record_protected:
      return {"Record Protected",
              "You cannot record over a pre-recorded message.\r\n\r\nUse the New Message option "
              "to create a new message."};
    case audio_refusal::record_open_failed:
      return {"Record Fail",
              "Unable to open wave in device.\r\n\r\nPlease check that you have selected your "
              "sound card using the Settings option - User Record Device."};
    case audio_refusal::play_disabled:
      return {"Play Function Disabled",
              "The play function is disabled or not available.\r\n\r\nPlease refer to the "
              "Settings option - Audition Play Device."};
    case audio_refusal::play_open_failed:
      return {"Play Fail",
              "Unable to open wave out device.\r\n\r\nPlease check that you have selected your "
              "sound card using the Settings option - Audition Play Device."};
    case audio_refusal::none:
    case audio_refusal::silent:
      break;
  }
  return {};
}

std::string new_record_name(std::int32_t now) {
  const calendar_fields f = break_moment(now);
  char name[40];
  std::snprintf(name, sizeof name, "User Message %.2d%.2d%.2d", f.hour, f.minute, f.second);
  return name;
}

edit_audio::edit_audio(station& st, wave_in* record_device, wave_out* audition_device)
    : st_(st), in_(record_device), out_(audition_device) {}

edit_audio::~edit_audio() {
  // The owner may be half gone: no dialog, no callbacks; a recording is still processed.
  processor = nullptr;
  on_stopped = nullptr;
  on_level = nullptr;
  stop();
}

audio_refusal edit_audio::record_over(int index) {
  stop();
  if (index < 0 || index >= st_.content.list.count()) return audio_refusal::silent;
  if (st_.settings.record_device < 0) return audio_refusal::record_disabled;
  if (st_.content.list[index].user_made == 0) return audio_refusal::record_protected;
  if (in_ == nullptr || !in_->open(st_.settings.record_device, mono_22050, *this))
    return audio_refusal::record_open_failed;
  memory_.reset(new (std::nothrow) std::uint8_t[edit_audio_memory]);
  if (!memory_) {
    in_->close();
    return audio_refusal::silent;
  }
  recording_ = std::make_unique<rectmp>();
  for (int i = 0; i < record_buffer_count; ++i) {
    wave_in_header& h = in_headers_[static_cast<std::size_t>(i)];
    h = wave_in_header{};
    h.data = memory_.get() + static_cast<std::size_t>(i) * record_buffer_bytes;
    h.length = record_buffer_bytes;
    in_->prepare(h);
    in_->add_buffer(h);
  }
  target_ = index;
  mode_ = edit_audio_mode::recording;
  in_->start();
  return audio_refusal::none;
}

audio_refusal edit_audio::play(int index) {
  stop();
  if (index < 0 || index >= st_.content.list.count()) return audio_refusal::silent;
  if (st_.settings.audition_device < 0) return audio_refusal::play_disabled;
  file_handle clip = open_clip(st_, st_.content.list[index].clip);
  if (!clip) return audio_refusal::silent;
  if (out_ == nullptr || !out_->open(st_.settings.audition_device, mono_22050, *this))
    return audio_refusal::play_open_failed;
  memory_.reset(new (std::nothrow) std::uint8_t[edit_audio_memory]);
  if (!memory_) {
    out_->close();
    return audio_refusal::silent;
  }
  audition_file_ = std::move(clip);
  mode_ = edit_audio_mode::auditioning;
  for (int i = 0; i < audition_buffer_count; ++i) {
    wave_header& h = out_headers_[static_cast<std::size_t>(i)];
    h = wave_header{};
    h.data = memory_.get() + static_cast<std::size_t>(i) * audition_buffer_bytes;
    h.length = read_up_to(audition_file_.get(), h.data, audition_buffer_bytes);
    out_->prepare(h);
    out_->write(h);
  }
  return audio_refusal::none;
}

void edit_audio::stop() {
  switch (mode_) {
    case edit_audio_mode::idle:
      return;
    case edit_audio_mode::recording:
      stop_recording();
      break;
    case edit_audio_mode::auditioning:
      stop_audition();
      break;
  }
  if (on_stopped) on_stopped();
}

void edit_audio::stop_recording() {
  in_->reset();
  for (wave_in_header& h : in_headers_) {
    in_->unprepare(h);
    clear_flags(h);
  }
  in_->close();
  if (on_level) on_level(level_meter_empty);
  // Idle before the processing, whose dialog runs a nested event loop: nothing can stop or
  // process this recording a second time.
  std::unique_ptr<rectmp> tmp = std::move(recording_);
  const int target = target_;
  target_ = -1;
  mode_ = edit_audio_mode::idle;
  memory_.reset();
  if (tmp && target >= 0 && target < st_.content.list.count()) process(*tmp, target);
}

void edit_audio::process(rectmp& tmp, int target) {
  // The announcement gives up its clip at once; the clip-use bookkeeping releases the old file.
  ann_blk& a = st_.content.list[target];
  a.clip = -1;
  a.id_serial = 0;
  // Never a pointer into the list across the processing: its nested loop may change the list.
  std::int16_t clip = -1;
  std::int32_t length = 0;
  const recproc_failure result =
      processor ? processor(tmp, clip, length) : process_in_loop(st_, tmp, clip, length);
  if (result != recproc_failure::none || !valid_clip(clip)) return;
  if (target < st_.content.list.count()) {
    st_.content.list[target].clip = clip;
    st_.content.list[target].id_serial = length;
  } else {
    release_clip(st_, clip);
  }
}

void edit_audio::stop_audition() {
  out_->reset();
  for (wave_header& h : out_headers_) {
    out_->unprepare(h);
    h.flags = 0;
  }
  out_->close();
  audition_file_.reset();
  mode_ = edit_audio_mode::idle;
  memory_.reset();
}

void edit_audio::buffer_filled(wave_in_header& h) {
  if ((h.flags & wave_done) == 0 || mode_ != edit_audio_mode::recording) return;
  in_->unprepare(h);
  if (recording_) {
    // Every buffer counts as full, whatever the device says it recorded.
    auto* samples = reinterpret_cast<std::int16_t*>(h.data);
    swap_le_samples(samples, h.length / 2);
    const int level = recording_->append_block(samples, static_cast<std::int32_t>(h.length));
    if (on_level) on_level(level);
  }
  clear_flags(h);
  in_->prepare(h);
  in_->add_buffer(h);
}

void edit_audio::buffer_done(wave_header& h) {
  if ((h.flags & wave_done) == 0 || mode_ != edit_audio_mode::auditioning) return;
  out_->unprepare(h);
  h.flags = 0;
  if (h.length >= audition_buffer_bytes) {
    refill(h);
    return;
  }
  stop();  // the short buffer was the clip's end
}

void edit_audio::refill(wave_header& h) {
  h.length = read_up_to(audition_file_.get(), h.data, audition_buffer_bytes);
  out_->prepare(h);
  out_->write(h);
}

}  // namespace zta
