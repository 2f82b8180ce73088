#pragma once
// Wave-in on an ALSA capture PCM (through the plug layer, so any card gives S16_LE mono at
// 22050 Hz), run from the event loop `loop` watches like alsa_wave_out: the PCM is non-blocking,
// its poll descriptors are watched there with a slow timer as a safety net, and a queued buffer is
// delivered on that thread once ALSA has handed over all of its frames. Whatever the device
// captures while no buffer is queued is dropped.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "base/error_note.hpp"
#include "platform/alsa/alsa_pcm.hpp"
#include "platform/api/wave_in.hpp"

namespace zta {

class alsa_wave_in final : public wave_in {
 public:
  // The same names as the output: "default", then the plug device of each card.
  explicit alsa_wave_in(std::shared_ptr<loop_watch> loop)
      : alsa_wave_in(std::move(loop), alsa_playback_devices()) {}
  alsa_wave_in(std::shared_ptr<loop_watch> loop, std::vector<alsa_device> devices);
  ~alsa_wave_in() override;

  std::vector<std::string> device_names() const override;
  bool open(int index, const wave_format& format, wave_in_listener& listener) override;
  bool is_open() const override { return pcm_ != nullptr; }
  bool add_buffer(wave_in_header& h) override;
  bool start() override;
  void reset() override;
  void close() override;
  std::string last_error() const override { return error_.text(); }

 private:
  void pump();

  std::vector<alsa_device> devices_;
  error_note error_{"ALSA"};
  snd_pcm_t* pcm_ = nullptr;
  wave_format format_{};
  wave_in_listener* listener_ = nullptr;
  alsa_poll_watch watch_;
  std::deque<wave_in_header*> queue_;
  bool started_ = false;
  std::vector<std::int16_t> scratch_;  // what arrives while no buffer is queued
  std::uint64_t generation_ = 0;       // changes on reset and close
};

}  // namespace zta
