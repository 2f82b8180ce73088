#include "platform/alsa/alsa_pcm.hpp"

#include <alsa/asoundlib.h>
#include <poll.h>

#include <algorithm>
#include <cstdlib>

namespace zta {

std::vector<alsa_device> alsa_playback_devices() {
  std::vector<alsa_device> out{{"default", "default"}};
  int card = -1;
  while (snd_card_next(&card) == 0 && card >= 0) {
    char* name = nullptr;
    std::string shown = "card " + std::to_string(card);
    if (snd_card_get_name(card, &name) == 0 && name != nullptr) {
      shown = name;
      std::free(name);
    }
    out.push_back({shown, "plughw:" + std::to_string(card)});
  }
  return out;
}

std::vector<std::string> alsa_device_names(const std::vector<alsa_device>& devices) {
  std::vector<std::string> names;
  names.reserve(devices.size());
  for (const auto& d : devices) names.push_back(d.name);
  return names;
}

std::string alsa_error_text(const std::string& what, int code) {
  return what + ": " + snd_strerror(code);
}

bool alsa_default_playback_opens(std::string& why) {
  snd_pcm_t* pcm = nullptr;
  const int rc = snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
  if (rc == -EBUSY) return true;
  if (rc < 0) {
    why = alsa_error_text("cannot open \"default\" for playback", rc);
    return false;
  }
  snd_pcm_close(pcm);
  return true;
}

snd_pcm_t* alsa_open_pcm(const std::string& name, bool capture, const wave_format& format,
                         unsigned long period, unsigned periods, alsa_layout& got,
                         std::string& error) {
  const std::string direction = capture ? "capture" : "playback";
  snd_pcm_t* pcm = nullptr;
  int rc =
      snd_pcm_open(&pcm, name.c_str(), capture ? SND_PCM_STREAM_CAPTURE : SND_PCM_STREAM_PLAYBACK,
                   SND_PCM_NONBLOCK);
  if (rc < 0) {
    error = alsa_error_text("cannot open \"" + name + "\" for " + direction, rc);
    return nullptr;
  }
  snd_pcm_hw_params_t* hw = nullptr;
  snd_pcm_hw_params_alloca(&hw);
  snd_pcm_uframes_t frames = period;
  snd_pcm_uframes_t buffer = 0;
  int dir = 0;
  const auto channels = static_cast<unsigned>(format.channels);
  const auto rate = static_cast<unsigned>(format.rate);
  // Each step with what it asks for, so a refusal says which wish the device did not grant.
  const char* step = nullptr;
  if ((rc = snd_pcm_hw_params_any(pcm, hw)) < 0)
    step = "no hardware parameters";
  else if ((rc = snd_pcm_hw_params_set_access(pcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED)) < 0)
    step = "no interleaved access";
  else if ((rc = snd_pcm_hw_params_set_format(pcm, hw, SND_PCM_FORMAT_S16_LE)) < 0)
    step = "no 16-bit samples";
  else if ((rc = snd_pcm_hw_params_set_channels(pcm, hw, channels)) < 0)
    step = channels == 1 ? "no mono" : "no stereo";
  else if ((rc = snd_pcm_hw_params_set_rate(pcm, hw, rate, 0)) < 0)
    step = "the sample rate is refused";
  else if ((rc = snd_pcm_hw_params_set_period_size_near(pcm, hw, &frames, &dir)) < 0 ||
           (rc = snd_pcm_hw_params_set_periods_near(pcm, hw, &periods, &dir)) < 0)
    step = "the buffer layout is refused";
  else if ((rc = snd_pcm_hw_params(pcm, hw)) < 0)
    step = "the hardware parameters are refused";
  else if ((rc = snd_pcm_hw_params_get_period_size(hw, &frames, &dir)) < 0 ||
           (rc = snd_pcm_hw_params_get_buffer_size(hw, &buffer)) < 0)
    step = "the buffer layout cannot be read";
  if (step != nullptr) {
    error = alsa_error_text("\"" + name + "\" for " + direction + ": " + step + " (" +
                                std::to_string(format.rate) + " Hz, " +
                                std::to_string(format.channels) + " ch)",
                            rc);
    snd_pcm_close(pcm);
    return nullptr;
  }
  got.period = frames;
  got.buffer = buffer;
  return pcm;
}

alsa_poll_watch::alsa_poll_watch(std::shared_ptr<loop_watch> loop, int safety_ms,
                                 std::function<void()> wake)
    : loop_(std::move(loop)),
      safety_ms_(safety_ms),
      wake_(std::move(wake)),
      safety_(loop_->timer()) {}

void alsa_poll_watch::attach(snd_pcm_t* pcm) {
  const int count = snd_pcm_poll_descriptors_count(pcm);
  std::vector<pollfd> fds(static_cast<std::size_t>(std::max(count, 0)));
  if (count > 0) snd_pcm_poll_descriptors(pcm, fds.data(), static_cast<unsigned>(count));
  for (const pollfd& p : fds) {
    // A plugin may ask for POLLIN whatever the direction (the pulse PCM does).
    const fd_interest interest =
        (p.events & POLLIN) != 0 ? fd_interest::readable : fd_interest::writable;
    watches_.push_back(loop_->watch(p.fd, interest, [this] { wake_(); }));
  }
}

void alsa_poll_watch::arm_safety() {
  safety_->start(safety_ms_, [this] {
    arm_safety();  // again before the wake-up, which may stop it
    wake_();
  });
}

void alsa_poll_watch::enable(bool on) {
  for (auto& w : watches_) w->set_enabled(on);
  if (on && !safety_->active()) arm_safety();
  if (!on) safety_->stop();
}

void alsa_poll_watch::detach() {
  enable(false);
  for (auto& w : watches_)
    retired_.push_back(std::move(w));  // one of them may be the watch whose callback is running
  watches_.clear();
  if (depth_ == 0) retired_.clear();
}

alsa_poll_watch::wake_scope::wake_scope(alsa_poll_watch& w) : w_(w) {
  if (w_.depth_ == 0) w_.retired_.clear();
  ++w_.depth_;
}

alsa_poll_watch::wake_scope::~wake_scope() {
  --w_.depth_;
}

void alsa_poll_watch::take_events(snd_pcm_t* pcm) const {
  if (watches_.empty()) return;
  std::vector<pollfd> fds(watches_.size());
  snd_pcm_poll_descriptors(pcm, fds.data(), static_cast<unsigned>(fds.size()));
  for (auto& p : fds) p.revents = p.events;
  unsigned short revents = 0;
  snd_pcm_poll_descriptors_revents(pcm, fds.data(), static_cast<unsigned>(fds.size()), &revents);
}

}  // namespace zta
