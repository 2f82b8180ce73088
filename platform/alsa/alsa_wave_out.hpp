#pragma once
// Wave-out on an ALSA PCM (through the plug layer: S16_LE, 22050 Hz, 1 or 2 channels), run from
// the event loop `loop` watches (the calling thread's): the PCM is non-blocking and its poll
// descriptors are watched there, with a slow timer as a safety net, so completions reach the
// listener on that thread. A buffer is complete once the device has consumed all of its frames. The
// volume word is applied to the samples as they are handed to ALSA (gain V / 65535 per channel).
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "base/error_note.hpp"
#include "platform/alsa/alsa_pcm.hpp"
#include "platform/api/wave_out.hpp"

namespace zta {

class alsa_wave_out final : public wave_out {
 public:
  explicit alsa_wave_out(std::shared_ptr<loop_watch> loop)
      : alsa_wave_out(std::move(loop), alsa_playback_devices()) {}
  alsa_wave_out(std::shared_ptr<loop_watch> loop, std::vector<alsa_device> devices);
  ~alsa_wave_out() override;

  std::vector<std::string> device_names() const override;
  bool open(int index, const wave_format& format, wave_out_listener& listener) override;
  bool is_open() const override { return pcm_ != nullptr; }
  bool write(wave_header& h) override;
  void reset() override;
  void close() override;
  void set_volume(std::uint32_t word) override { volume_ = word; }
  // Frames the device has taken out of the ring since it was opened; 0 when closed. For
  // measuring how soon a play is heard.
  std::uint64_t frames_consumed() { return is_open() ? consumed_frames() : 0; }
  // Frames written less the device's own delay (what it says has reached the output); 0 when
  // closed or when it cannot tell.
  std::uint64_t frames_heard() const;
  std::string last_error() const override { return error_.text(); }

 private:
  struct queued {
    wave_header* header;
    std::uint64_t end_frame;  // cumulative frame count at which it has been consumed
  };
  void pump();  // completions, then more data
  void feed();  // hands queued data to ALSA while there is room
  std::uint64_t consumed_frames();

  std::vector<alsa_device> devices_;
  error_note error_{"ALSA"};
  snd_pcm_t* pcm_ = nullptr;
  wave_format format_{};
  wave_out_listener* listener_ = nullptr;
  alsa_poll_watch watch_;
  std::deque<queued> queue_;
  std::size_t feed_index_ = 0;     // first queued header not yet fully handed to ALSA
  std::uint32_t feed_offset_ = 0;  // bytes of it already handed over
  std::uint64_t queued_frames_ = 0;
  std::uint64_t written_frames_ = 0;
  std::uint64_t consumed_ = 0;
  unsigned long buffer_ = 0;  // frames in the ring as the device accepted them (0 when closed)
  std::uint32_t volume_ = 0xFFFFFFFF;
  std::vector<std::int16_t> scaled_;
  std::uint64_t generation_ = 0;  // changes on reset and close
};

}  // namespace zta
