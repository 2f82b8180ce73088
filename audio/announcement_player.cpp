#include "audio/announcement_player.hpp"

#include <new>

#include "announcements/day_part.hpp"
#include "announcements/play_log.hpp"
#include "base/byte_codec.hpp"

namespace zta {

announcement_player::announcement_player(station& st, wave_out& device, aux_mixer& mixer,
                                         play_log_writer log, std::optional<missed_log> missed)
    : st_(st),
      device_(device),
      mixer_(mixer),
      log_(log ? std::move(log) : play_log_writer(&log_play)),
      missed_(std::move(missed)),
      stream_(st) {}

announcement_player::~announcement_player() {
  stop(missed_reason::program_ended);
  stream_.close();
}

void announcement_player::record_missed(std::int32_t when, std::string_view name, play_trigger why,
                                        int every, missed_reason r) const {
  missed().record(when, name, why, r, every);
}

missed_outcome announcement_player::play_announcement(const ann_blk* a, play_trigger why) {
  // Only the page asks for the chime alone.
  stop(a == nullptr ? missed_reason::cut_off_by_page : missed_reason::cut_off_by_play);
  int chimes = st_.settings.chimes;
  stream_.close();
  stream_.set_count_only(fixed_files_ && !device_.wants_samples());
  bool sound = true;
  if (a != nullptr) {
    sound = stream_.open_clip_file(a->clip);
    if (sound && a->chimes != 0 && chimes > 0) stream_.open_chime(chimes);
    log_(st_, *a);
  } else if (chimes > 0) {
    stream_.open_chime(chimes);
  }
  if (a == nullptr) return start_output();
  const int every = a->autoplay > 0 ? a->autoplay : 0;
  if (sound) programme_ = programme{std::string(a->name_text()), why, every, 0, st_.clock.now};
  missed_outcome out = start_output();
  if (!sound && outcome_ == play_outcome::started) outcome_ = play_outcome::no_sound;
  if (!out && !sound) out = missed_reason::clip_missing;
  if (out) {
    programme_.reset();
    record_missed(st_.clock.now, a->name_text(), why, every, *out);
  }
  return out;
}

missed_outcome announcement_player::play_file(const std::string& path, play_trigger why) {
  stop(missed_reason::cut_off_by_play);
  stream_.close();
  stream_.set_count_only(fixed_files_ && !device_.wants_samples());
  const bool sound = stream_.open_sound_file(path, true);
  if (!sound) {
    delete_file(path);
  } else if (st_.settings.chimes > 0) {
    stream_.open_chime(st_.settings.chimes);
  }
  const std::string name = path.substr(path.find_last_of('/') + 1);
  if (sound) programme_ = programme{name, why, 0, 0, st_.clock.now};
  missed_outcome out = start_output();
  if (!sound && outcome_ == play_outcome::started) outcome_ = play_outcome::no_sound;
  if (!out && !sound) out = missed_reason::clip_missing;
  if (out) {
    programme_.reset();
    record_missed(st_.clock.now, name, why, 0, *out);
  }
  return out;
}

std::size_t announcement_player::buffer_size() const {
  return balanced_ ? 2 * block_bytes : block_bytes;
}

missed_outcome announcement_player::start_output() {
  stop(missed_reason::cut_off_by_play);  // the callers have stopped already
  outcome_ = play_outcome::device_failed;
  if (st_.settings.sound_out_device < 0) {
    outcome_ = play_outcome::no_device;
    stream_.close();
    return missed_reason::no_device;
  }
  // The buffers stay allocated from one play to the next: freeing 300 KB after every play gave
  // it back to the system (and its page tables) only to fault it in again at the next start.
  const bool balanced = st_.settings.balanced != 0;
  if (balanced != balanced_) {
    for (auto& b : buffers_) b.memory.reset();
  }
  balanced_ = balanced;
  if (balanced_ && scratch_ == nullptr) {
    scratch_.reset(new (std::nothrow) std::uint8_t[block_bytes]);
    if (scratch_ == nullptr) {
      stream_.close();
      return missed_reason::device_open_failed;
    }
  }
  if (before_open_) before_open_();
  wave_format format{.channels = balanced_ ? 2 : 1, .rate = 22050};
  if (!device_.open(st_.settings.sound_out_device, format, *this)) {
    stream_.close();
    return missed_reason::device_open_failed;
  }
  is_open_ = true;
  if (st_.settings.music_device >= 0) {
    mixer_.set_volume(st_.settings.music_device,
                      volume_word(music_down_level(st_.settings, st_.clock)));
  }
  device_.set_volume(volume_word(announcement_level(st_.settings, st_.clock)));

  outstanding_ = 0;
  buffers_written_ = buffers_done_ = 0;
  for (auto& b : buffers_) {
    if (b.memory == nullptr) b.memory.reset(new (std::nothrow) std::uint8_t[buffer_size()]);
    if (b.memory == nullptr) continue;
    b.header = wave_header{b.memory.get(), static_cast<std::uint32_t>(buffer_size()), 0};
    fill(b);
    device_.prepare(b.header);
    if (!device_.write(b.header)) {
      device_.unprepare(b.header);
      continue;
    }
    ++outstanding_;
    ++buffers_written_;
  }
  if (outstanding_ == 0) {
    programme_.reset();  // the caller records it
    stop();
    return missed_reason::device_open_failed;
  }
  outcome_ = play_outcome::started;
  return std::nullopt;
}

void balance_block(const std::uint8_t* mono, std::uint8_t* stereo, std::size_t samples) {
  for (std::size_t i = 0; i < samples; ++i) {
    auto s = load_le<std::uint16_t>(mono + 2 * i);
    auto negated = static_cast<std::uint16_t>(0u - s);  // two's complement, -32768 stays
    store_le(stereo + 4 * i, s);
    store_le(stereo + 4 * i + 2, negated);
  }
}

void announcement_player::fill(buffer& b) {
  const bool clip_before = stream_.clip_open();
  if (!device_.wants_samples()) {
    stream_.read_block(std::span<std::uint8_t, block_bytes>(b.memory.get(), block_bytes), false);
  } else if (!balanced_) {
    stream_.read_block(std::span<std::uint8_t, block_bytes>(b.memory.get(), block_bytes));
  } else {
    stream_.read_block(std::span<std::uint8_t, block_bytes>(scratch_.get(), block_bytes));
    balance_block(scratch_.get(), b.memory.get(), block_samples);
  }
  // This buffer holds the clip's end: once it has played, the announcement has sounded whole.
  if (clip_before && !stream_.clip_open() && programme_ && programme_->end_buffer == 0)
    programme_->end_buffer = buffers_written_ + 1;
}

void announcement_player::buffer_done(wave_header& header) {
  if (!is_open_ || (header.flags & wave_done) == 0) return;
  buffer* b = nullptr;
  for (auto& candidate : buffers_) {
    if (&candidate.header == &header) b = &candidate;
  }
  if (b == nullptr) return;  // not one of ours
  device_.unprepare(header);
  header.flags = 0;
  ++buffers_done_;
  if (programme_ && programme_->end_buffer != 0 && buffers_done_ >= programme_->end_buffer)
    programme_.reset();
  if (!stream_.clip_open() && !stream_.chime_open()) {
    if (--outstanding_ <= 0) stop();
    return;
  }
  fill(*b);
  device_.prepare(header);
  if (!device_.write(header)) {
    device_.unprepare(header);
    if (--outstanding_ <= 0) stop(missed_reason::device_lost);
    return;
  }
  ++buffers_written_;
}

void announcement_player::device_failed() {
  if (is_open_) stop(missed_reason::device_lost);
}

void announcement_player::stop(missed_reason why) {
  if (!is_open_) return;
  if (programme_) {
    record_missed(programme_->started, programme_->name, programme_->trigger,
                  programme_->every_minutes, why);
    programme_.reset();
  }
  device_.reset();
  for (auto& b : buffers_) {
    device_.unprepare(b.header);
    b.header = wave_header{};
  }
  device_.close();
  stream_.close();
  is_open_ = false;
  outstanding_ = 0;
  apply_music_level();
}

void announcement_player::apply_music_level() {
  if (st_.settings.music_device < 0) return;
  int level = (is_open_ || page_active_) ? music_down_level(st_.settings, st_.clock)
                                         : music_up_level(st_.settings, st_.clock);
  mixer_.set_volume(st_.settings.music_device, volume_word(level));
}

void announcement_player::apply_mic_level() {
  if (st_.settings.mic_device < 0) return;
  int level = page_active_ ? mic_level(st_.settings, st_.clock) : 0;
  mixer_.set_volume(st_.settings.mic_device, volume_word(level));
}

void announcement_player::page_start() {
  if (page_active_) return;
  page_active_ = true;
  apply_music_level();
  apply_mic_level();
  play_announcement(nullptr);
}

void announcement_player::page_stop() {
  stop(missed_reason::cut_off_by_page);
  page_active_ = false;
  apply_music_level();
  apply_mic_level();
}

}  // namespace zta
