#pragma once
// The simulated sound card's input (ZTA_AUDIO=sim:DIR[:speed=N]): it "records" DIR/wave_in.wav
// from its start at every open (16-bit PCM, its first channel, taken at 22050 frames per second
// whatever rate the file says), and silence once that has run out or when there is no such file
// or it is not 16-bit PCM. Buffers fill one after another at 22050 frames per second times the
// speed factor from start(), delivered from a loop_timer on the thread that runs the event loop.
// While no buffer is queued the input is lost, as on a real device.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/loop_timer.hpp"
#include "platform/api/wave_in.hpp"

namespace zta {

class sim_wave_in final : public wave_in {
 public:
  // `folder` with a trailing '/'.
  sim_wave_in(std::string folder, double speed, std::unique_ptr<loop_timer> timer);
  ~sim_wave_in() override;

  std::vector<std::string> device_names() const override { return {"Simulated input"}; }
  bool open(int index, const wave_format& format, wave_in_listener& listener) override;
  bool is_open() const override { return listener_ != nullptr; }
  bool add_buffer(wave_in_header& h) override;
  bool start() override;
  void reset() override;
  void close() override;

  std::string wav_path() const { return folder_ + "wave_in.wav"; }

 private:
  using clock = std::chrono::steady_clock;
  struct queued {
    wave_in_header* header;
    clock::time_point due;
  };
  clock::duration duration_of(const wave_in_header& h) const;
  void schedule_from(clock::time_point head);
  void arm();
  void deliver();
  void fill(wave_in_header& h);
  bool open_source();

  std::string folder_;
  double speed_;
  std::unique_ptr<loop_timer> timer_;
  wave_format format_{};
  wave_in_listener* listener_ = nullptr;
  bool started_ = false;
  std::deque<queued> queue_;
  clock::time_point head_{};  // when the last queued buffer will be full
  std::FILE* source_ = nullptr;
  int source_channels_ = 1;
  std::uint32_t source_left_ = 0;  // bytes of "data" not yet read
};

}  // namespace zta
