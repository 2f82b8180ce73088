#include "platform/alsa/alsa_wave_out.hpp"

#include <alsa/asoundlib.h>

#include <algorithm>

namespace zta {

namespace {

constexpr snd_pcm_uframes_t wanted_period = 8192;
constexpr unsigned wanted_periods = 9;
constexpr int safety_ms = 100;

}  // namespace

alsa_wave_out::alsa_wave_out(std::shared_ptr<loop_watch> loop, std::vector<alsa_device> devices)
    : devices_(std::move(devices)), watch_(std::move(loop), safety_ms, [this] { pump(); }) {}

alsa_wave_out::~alsa_wave_out() {
  close();
}

std::vector<std::string> alsa_wave_out::device_names() const {
  return alsa_device_names(devices_);
}

bool alsa_wave_out::open(int index, const wave_format& format, wave_out_listener& listener) {
  if (is_open()) {
    error_.fail("the playback device is open already");
    return false;
  }
  if (index < 0 || index >= static_cast<int>(devices_.size())) {
    error_.fail("there is no playback device " + std::to_string(index) + " (" +
                std::to_string(devices_.size()) + " devices)");
    return false;
  }
  const std::string& name = devices_[static_cast<std::size_t>(index)].pcm;
  alsa_layout layout;
  std::string why;
  snd_pcm_t* pcm = alsa_open_pcm(name, false, format, wanted_period, wanted_periods, layout, why);
  if (pcm == nullptr) {
    error_.fail(why);
    return false;
  }
  const snd_pcm_uframes_t period = layout.period;
  const snd_pcm_uframes_t buffer = layout.buffer;
  snd_pcm_sw_params_t* sw = nullptr;
  snd_pcm_sw_params_alloca(&sw);
  // Start as soon as one period is there: the writer hands over everything it has at once.
  int rc = 0;
  const bool ok =
      (rc = snd_pcm_sw_params_current(pcm, sw)) >= 0 &&
      (rc = snd_pcm_sw_params_set_avail_min(pcm, sw, std::min(period, buffer))) >= 0 &&
      (rc = snd_pcm_sw_params_set_start_threshold(pcm, sw, std::min(period, buffer))) >= 0 &&
      (rc = snd_pcm_sw_params(pcm, sw)) >= 0;
  if (!ok) {
    error_.fail(
        alsa_error_text("\"" + name + "\" for playback: the start threshold is refused", rc));
    snd_pcm_close(pcm);
    return false;
  }
  error_.clear();
  pcm_ = pcm;
  format_ = format;
  listener_ = &listener;
  buffer_ = buffer;
  queued_frames_ = written_frames_ = consumed_ = 0;
  feed_index_ = 0;
  feed_offset_ = 0;

  watch_.attach(pcm_);
  return true;
}

bool alsa_wave_out::write(wave_header& h) {
  if (!is_open()) {
    error_.fail("the playback device is not open");
    return false;
  }
  h.flags = (h.flags & ~static_cast<std::uint32_t>(wave_done)) | wave_in_queue;
  queued_frames_ += h.length / static_cast<std::uint32_t>(format_.block_align());
  queue_.push_back({&h, queued_frames_});
  feed();
  watch_.enable(true);
  return true;
}

void alsa_wave_out::feed() {
  const std::uint32_t align = static_cast<std::uint32_t>(format_.block_align());
  const std::uint32_t gain[2] = {volume_ & 0xFFFF, volume_ >> 16};
  // Bounded: a device that keeps failing is left to the next wake-up.
  for (int rounds = 0; feed_index_ < queue_.size() && rounds < 64; ++rounds) {
    snd_pcm_sframes_t room = snd_pcm_avail_update(pcm_);
    if (room < 0) {
      if (snd_pcm_recover(pcm_, static_cast<int>(room), 1) < 0) return;
      continue;
    }
    if (room == 0) return;
    wave_header* h = queue_[feed_index_].header;
    std::uint32_t frames = std::min<std::uint32_t>(static_cast<std::uint32_t>(room),
                                                   (h->length - feed_offset_) / align);
    const std::size_t samples = static_cast<std::size_t>(frames) * format_.channels;
    scaled_.resize(samples);
    const std::uint8_t* src = h->data + feed_offset_;
    const bool stereo = format_.channels == 2;
    for (std::size_t i = 0; i < samples; ++i) {
      auto s = static_cast<std::int16_t>(src[2 * i] | (src[2 * i + 1] << 8));
      auto g = static_cast<std::int32_t>(gain[stereo ? i % 2 : 0]);
      scaled_[i] = static_cast<std::int16_t>(s * g / 65535);
    }
    snd_pcm_sframes_t done = snd_pcm_writei(pcm_, scaled_.data(), frames);
    if (done == -EAGAIN || done == 0) return;
    if (done < 0) {
      if (snd_pcm_recover(pcm_, static_cast<int>(done), 1) < 0) return;
      continue;
    }
    written_frames_ += static_cast<std::uint64_t>(done);
    feed_offset_ += static_cast<std::uint32_t>(done) * align;
    if (feed_offset_ >= h->length) {
      ++feed_index_;
      feed_offset_ = 0;
    }
  }
}

std::uint64_t alsa_wave_out::frames_heard() const {
  snd_pcm_sframes_t delay = 0;
  if (pcm_ == nullptr || snd_pcm_delay(pcm_, &delay) < 0 || delay < 0) return 0;
  const auto d = static_cast<std::uint64_t>(delay);
  return written_frames_ > d ? written_frames_ - d : 0;
}

std::uint64_t alsa_wave_out::consumed_frames() {
  snd_pcm_sframes_t room = snd_pcm_avail_update(pcm_);
  snd_pcm_state_t state = snd_pcm_state(pcm_);
  if (room < 0 || state == SND_PCM_STATE_XRUN) {
    // Underrun: the device has played everything it was given.
    consumed_ = written_frames_;
    snd_pcm_prepare(pcm_);
    return consumed_;
  }
  std::uint64_t in_ring =
      buffer_ > static_cast<unsigned long>(room) ? buffer_ - static_cast<unsigned long>(room) : 0;
  if (written_frames_ >= in_ring) consumed_ = std::max(consumed_, written_frames_ - in_ring);
  return consumed_;
}

void alsa_wave_out::pump() {
  const alsa_poll_watch::wake_scope scope(watch_);
  if (!is_open()) return;
  watch_.take_events(pcm_);
  if (snd_pcm_state(pcm_) == SND_PCM_STATE_DISCONNECTED || snd_pcm_avail_update(pcm_) == -ENODEV) {
    // The card is gone: nothing more will complete, so the player must hear of it and close.
    watch_.enable(false);
    listener_->device_failed();
    return;
  }
  const std::uint64_t consumed = consumed_frames();
  const std::uint64_t generation = generation_;
  while (!queue_.empty() && queue_.front().end_frame <= consumed) {
    wave_header* h = queue_.front().header;
    queue_.pop_front();
    if (feed_index_ > 0) --feed_index_;
    h->flags = (h->flags | wave_done) & ~static_cast<std::uint32_t>(wave_in_queue);
    listener_->buffer_done(*h);  // may write, reset or close
    if (generation != generation_ || !is_open()) return;
  }
  feed();
  if (queue_.empty()) watch_.enable(false);
}

void alsa_wave_out::reset() {
  ++generation_;
  for (auto& q : queue_) {
    q.header->flags = (q.header->flags | wave_done) & ~static_cast<std::uint32_t>(wave_in_queue);
  }
  // Dropping discards what the device still holds; with nothing queued there is nothing to cut.
  if (pcm_ != nullptr && !queue_.empty()) {
    snd_pcm_drop(pcm_);
    snd_pcm_prepare(pcm_);
  }
  queue_.clear();
  feed_index_ = 0;
  feed_offset_ = 0;
  queued_frames_ = written_frames_ = consumed_ = 0;
  if (pcm_ != nullptr) watch_.enable(false);
}

void alsa_wave_out::close() {
  if (pcm_ == nullptr) return;
  // Everything handed over has been consumed: let a sound server play out what it still holds
  // instead of cutting the end of the programme.
  if (queue_.empty() && snd_pcm_state(pcm_) == SND_PCM_STATE_RUNNING) {
    snd_pcm_nonblock(pcm_, 0);
    snd_pcm_drain(pcm_);
  }
  reset();
  watch_.detach();
  snd_pcm_close(pcm_);
  pcm_ = nullptr;
  listener_ = nullptr;
  buffer_ = 0;
}

}  // namespace zta
