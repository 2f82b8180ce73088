#pragma once
// A wave-out device for tests and the schedule preview: it keeps what was written and completes
// buffers only when told to (complete_next), which stands for the event loop delivering them.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/api/wave_out.hpp"

namespace zta {

class test_wave_out final : public wave_out {
 public:
  explicit test_wave_out(int device_count = 1) : device_count_(device_count) {}

  std::vector<std::string> device_names() const override;
  bool open(int index, const wave_format& format, wave_out_listener& listener) override;
  bool is_open() const override { return open_; }
  bool write(wave_header& h) override;
  void reset() override;
  void close() override;
  void set_volume(std::uint32_t word) override { volumes.push_back(word); }
  bool wants_samples() const override { return keep_written; }

  // The device list from now on (a card plugged in, out or renumbered); opens take its indexes.
  void set_names(std::vector<std::string> names);
  // The card goes away while open: the listener hears device_failed, as from the event loop.
  // Opens fail from then on until `unplugged` is cleared.
  void unplug();
  bool unplugged = false;

  // Completes the oldest queued buffer; false when none is queued.
  bool complete_next();
  // Completes buffers until none is queued or the device closes; returns how many completed.
  int complete_all();
  std::size_t queued() const { return queue_.size(); }
  // Frames of the oldest queued buffer (0 when none).
  std::size_t front_frames() const;

  // Knobs and records.
  bool fail_open = false;
  bool fail_write = false;
  bool keep_written = true;  // false: `written` stays empty (long simulated runs)
  int opens = 0;             // successful opens so far
  int last_index = -1;       // device index of the last open
  wave_format last_format{};
  std::vector<std::uint8_t> written;   // every byte written, in order
  std::vector<std::uint32_t> volumes;  // every set_volume word, in order
  std::uint64_t completed = 0;         // buffers completed since construction

 private:
  int device_count_;
  std::vector<std::string> names_;  // empty: "test 0", "test 1", ...
  bool open_ = false;
  wave_out_listener* listener_ = nullptr;
  std::deque<wave_header*> queue_;
};

}  // namespace zta
