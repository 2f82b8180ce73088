#pragma once
// What the ALSA wave-out and wave-in share: opening a PCM in the project's format with the period
// layout asked for, watching its poll descriptors from the Qt event loop, and the device names.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QSocketNotifier>

#include "platform/api/wave_out.hpp"

typedef struct _snd_pcm snd_pcm_t;  // NOLINT(bugprone-reserved-identifier): ALSA's own name

namespace zta {

struct alsa_device {
  std::string name;  // what the Settings dialog shows
  std::string pcm;   // what snd_pcm_open is given
};

// "default", then the plug device of each sound card.
std::vector<alsa_device> alsa_playback_devices();
std::vector<std::string> alsa_device_names(const std::vector<alsa_device>& devices);

struct alsa_layout {
  unsigned long period = 0;  // frames, as the device took them
  unsigned long buffer = 0;
};

// Opens `pcm` non-blocking for playback or capture, interleaved S16_LE in `format`, with periods
// of about `period` frames, about `periods` of them; null (nothing open) on failure.
snd_pcm_t* alsa_open_pcm(const std::string& pcm, bool capture, const wave_format& format,
                         unsigned long period, unsigned periods, alsa_layout& got);

// One disabled notifier per poll descriptor of the PCM, each calling `wake`.
std::vector<std::unique_ptr<QSocketNotifier>> alsa_poll_notifiers(
    snd_pcm_t* pcm, const std::function<void()>& wake);
// Lets the plugin translate what woke us (some need this to clear their event).
void alsa_take_poll_events(snd_pcm_t* pcm, std::size_t descriptors);

}  // namespace zta
