#pragma once
// What the ALSA wave-out and wave-in share: opening a PCM in the project's format with the period
// layout asked for, watching its poll descriptors from the program's event loop, and the device
// names.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/loop_watch.hpp"
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
// of about `period` frames, about `periods` of them; null (nothing open) on failure, with `error`
// saying which step failed and ALSA's reason.
snd_pcm_t* alsa_open_pcm(const std::string& pcm, bool capture, const wave_format& format,
                         unsigned long period, unsigned periods, alsa_layout& got,
                         std::string& error);

// Whether ALSA's "default" opens for playback; a busy device counts (it is there, only taken for
// now). `why` says why not.
bool alsa_default_playback_opens(std::string& why);

// "WHAT: ALSA's text for `code`" (a negative error number as ALSA returns it).
std::string alsa_error_text(const std::string& what, int code);

// The poll descriptors of one open PCM watched on `loop`, with a slow timer as a safety net, each
// calling `wake` from the event loop. The watches of a closed PCM are kept until no wake-up can be
// running, so a wake-up may close the PCM.
class alsa_poll_watch {
 public:
  alsa_poll_watch(std::shared_ptr<loop_watch> loop, int safety_ms, std::function<void()> wake);
  void attach(snd_pcm_t* pcm);  // disabled until enable()
  void enable(bool on);
  void detach();
  // Held for the length of a wake-up; the outermost one forgets the retired notifiers.
  class wake_scope {
   public:
    explicit wake_scope(alsa_poll_watch& w);
    ~wake_scope();
    wake_scope(const wake_scope&) = delete;
    wake_scope& operator=(const wake_scope&) = delete;

   private:
    alsa_poll_watch& w_;
  };
  // Lets the plugin translate what woke us (some need this to clear their event).
  void take_events(snd_pcm_t* pcm) const;

 private:
  void arm_safety();

  std::shared_ptr<loop_watch> loop_;
  int safety_ms_;
  std::function<void()> wake_;
  std::vector<std::unique_ptr<fd_watch>> watches_;
  std::vector<std::unique_ptr<fd_watch>> retired_;
  int depth_ = 0;
  std::unique_ptr<loop_timer> safety_;
};

}  // namespace zta
