#pragma once
// A wave-in device for tests: it fills buffers only when told to (fill_next), from the samples it
// was given, which stands for the event loop delivering them.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/api/wave_in.hpp"

namespace zta {

class test_wave_in final : public wave_in {
 public:
  explicit test_wave_in(int device_count = 1) : device_count_(device_count) {}

  std::vector<std::string> device_names() const override;
  bool open(int index, const wave_format& format, wave_in_listener& listener) override;
  bool is_open() const override { return open_; }
  bool add_buffer(wave_in_header& h) override;
  bool start() override;
  void reset() override;
  void close() override;

  // Fills the oldest queued buffer from `input` (silence once it is used up) and delivers it;
  // false when not started or none is queued.
  bool fill_next();
  std::size_t queued() const { return queue_.size(); }

  std::vector<std::uint8_t> input;  // what the "microphone" hears, 16-bit little-endian
  std::size_t input_pos = 0;
  bool fail_open = false;
  int opens = 0;
  int last_index = -1;
  wave_format last_format{};

 private:
  int device_count_;
  bool open_ = false;
  bool started_ = false;
  wave_in_listener* listener_ = nullptr;
  std::deque<wave_in_header*> queue_;
};

}  // namespace zta
