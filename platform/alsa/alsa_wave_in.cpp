#include "platform/alsa/alsa_wave_in.hpp"

#include <alsa/asoundlib.h>

#include <algorithm>

namespace zta {

namespace {

constexpr snd_pcm_uframes_t wanted_period = 2048;
constexpr unsigned wanted_periods = 14;
constexpr int safety_ms = 50;

}  // namespace

alsa_wave_in::alsa_wave_in(std::shared_ptr<loop_watch> loop, std::vector<alsa_device> devices)
    : devices_(std::move(devices)), watch_(std::move(loop), safety_ms, [this] { pump(); }) {}

alsa_wave_in::~alsa_wave_in() {
  close();
}

std::vector<std::string> alsa_wave_in::device_names() const {
  return alsa_device_names(devices_);
}

bool alsa_wave_in::open(int index, const wave_format& format, wave_in_listener& listener) {
  if (is_open()) {
    error_.fail("the record device is open already");
    return false;
  }
  if (index < 0 || index >= static_cast<int>(devices_.size())) {
    error_.fail("there is no record device " + std::to_string(index) + " (" +
                std::to_string(devices_.size()) + " devices)");
    return false;
  }
  const std::string& name = devices_[static_cast<std::size_t>(index)].pcm;
  alsa_layout layout;
  std::string why;
  snd_pcm_t* pcm = alsa_open_pcm(name, true, format, wanted_period, wanted_periods, layout, why);
  if (pcm == nullptr) {
    error_.fail(why);
    return false;
  }
  snd_pcm_sw_params_t* sw = nullptr;
  snd_pcm_sw_params_alloca(&sw);
  snd_pcm_uframes_t boundary = 0;
  // Woken once a period is in; started only by start().
  int rc = 0;
  const bool ok = (rc = snd_pcm_sw_params_current(pcm, sw)) >= 0 &&
                  (rc = snd_pcm_sw_params_get_boundary(sw, &boundary)) >= 0 &&
                  (rc = snd_pcm_sw_params_set_avail_min(pcm, sw, layout.period)) >= 0 &&
                  (rc = snd_pcm_sw_params_set_start_threshold(pcm, sw, boundary)) >= 0 &&
                  (rc = snd_pcm_sw_params(pcm, sw)) >= 0 && (rc = snd_pcm_prepare(pcm)) >= 0;
  if (!ok) {
    error_.fail(alsa_error_text("\"" + name + "\" for capture: the device cannot be prepared", rc));
    snd_pcm_close(pcm);
    return false;
  }
  error_.clear();
  pcm_ = pcm;
  format_ = format;
  listener_ = &listener;
  started_ = false;
  watch_.attach(pcm_);
  return true;
}

bool alsa_wave_in::add_buffer(wave_in_header& h) {
  if (!is_open()) return false;
  h.flags = (h.flags & ~static_cast<std::uint32_t>(wave_done)) | wave_in_queue;
  h.recorded = 0;
  queue_.push_back(&h);
  return true;
}

bool alsa_wave_in::start() {
  if (!is_open()) {
    error_.fail("the record device is not open");
    return false;
  }
  if (!started_) {
    const int state = snd_pcm_state(pcm_);
    if (const int rc = state != SND_PCM_STATE_RUNNING ? snd_pcm_start(pcm_) : 0; rc < 0) {
      error_.fail(alsa_error_text("recording does not start", rc));
      return false;
    }
    started_ = true;
  }
  watch_.enable(true);
  return true;
}

void alsa_wave_in::pump() {
  const alsa_poll_watch::wake_scope scope(watch_);
  if (!is_open() || !started_) return;
  watch_.take_events(pcm_);
  const std::uint32_t align = static_cast<std::uint32_t>(format_.block_align());
  const std::uint64_t generation = generation_;
  // Bounded: a device that keeps failing is left to the next wake-up.
  for (int rounds = 0; rounds < 64; ++rounds) {
    snd_pcm_sframes_t avail = snd_pcm_avail_update(pcm_);
    if (avail < 0) {
      // An overrun: what was lost is lost; capture goes on.
      if (snd_pcm_recover(pcm_, static_cast<int>(avail), 1) < 0 || snd_pcm_start(pcm_) < 0) return;
      continue;
    }
    if (avail == 0) return;
    snd_pcm_sframes_t got = 0;
    if (queue_.empty()) {
      scratch_.resize(static_cast<std::size_t>(avail) * static_cast<std::size_t>(format_.channels));
      got = snd_pcm_readi(pcm_, scratch_.data(), static_cast<snd_pcm_uframes_t>(avail));
    } else {
      wave_in_header* h = queue_.front();
      const std::uint32_t room = (h->length - h->recorded) / align;
      const auto frames = std::min<snd_pcm_uframes_t>(static_cast<snd_pcm_uframes_t>(avail), room);
      got = snd_pcm_readi(pcm_, h->data + h->recorded, frames);
      if (got > 0) h->recorded += static_cast<std::uint32_t>(got) * align;
      if (got >= 0 && h->recorded + align > h->length) {
        queue_.pop_front();
        h->flags = (h->flags | wave_done) & ~static_cast<std::uint32_t>(wave_in_queue);
        listener_->buffer_filled(*h);  // may add a buffer, reset or close
        if (generation != generation_ || !is_open()) return;
      }
    }
    if (got == -EAGAIN || got == 0) return;
    if (got < 0) {
      if (snd_pcm_recover(pcm_, static_cast<int>(got), 1) < 0 || snd_pcm_start(pcm_) < 0) return;
    }
  }
}

void alsa_wave_in::reset() {
  ++generation_;
  for (wave_in_header* h : queue_) {
    h->flags = (h->flags | wave_done) & ~static_cast<std::uint32_t>(wave_in_queue);
  }
  queue_.clear();
  if (pcm_ != nullptr) {
    snd_pcm_drop(pcm_);
    snd_pcm_prepare(pcm_);
    watch_.enable(false);
  }
  started_ = false;
}

void alsa_wave_in::close() {
  if (pcm_ == nullptr) return;
  reset();
  watch_.detach();
  snd_pcm_close(pcm_);
  pcm_ = nullptr;
  listener_ = nullptr;
}

}  // namespace zta
