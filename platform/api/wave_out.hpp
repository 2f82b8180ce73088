#pragma once
// Sound output device: a queue of caller-owned buffers played in order, each reported back once
// the device has consumed it.
//
// Contract (every backend keeps it; the player relies on it):
// - Every call is made on the main thread, the thread that runs the event loop.
// - A completion is delivered to the listener given to open(), on the main thread, from the event
//   loop, never from inside a call of this interface. Buffers complete in the order they were
//   written. Before the listener is called the header's wave_done flag is set and wave_in_queue is
//   cleared.
// - The listener may call any operation of this interface from inside a completion, including
//   write() of the same header, reset() and close().
// - reset() returns every queued buffer at once: each gets wave_done and loses wave_in_queue, and
//   no completion is delivered for any buffer written before the reset. close() implies reset().
// - The data of a written buffer stays owned by the caller and must stay valid and unchanged
//   until its completion or a reset; the device only reads it.
// - set_volume() takes the word of a level (low 16 bits left, high 16 bits right, 0xFFFF = full);
//   backends without a hardware control scale the samples by V / 65535 as they play them.
#include <cstdint>
#include <string>
#include <vector>

namespace zta {

enum wave_header_flag : std::uint32_t {
  wave_done = 0x00000001,
  wave_prepared = 0x00000002,
  wave_in_queue = 0x00000010,
};

// One buffer as the caller hands it to the device.
struct wave_header {
  std::uint8_t* data = nullptr;
  std::uint32_t length = 0;  // bytes, a whole number of frames
  std::uint32_t flags = 0;   // wave_header_flag bits
};

// 16-bit signed little-endian PCM.
struct wave_format {
  int channels = 1;
  int rate = 22050;
  int block_align() const { return 2 * channels; }
};

class wave_out_listener {
 public:
  virtual void buffer_done(wave_header& header) = 0;
  // The device went away while open (a card unplugged): no more completions will come. Delivered
  // like a completion, from the event loop; the listener closes the device.
  virtual void device_failed() {}

 protected:
  ~wave_out_listener() = default;
};

class wave_out {
 public:
  virtual ~wave_out() = default;

  // Names for the Settings dialog, in device-index order.
  virtual std::vector<std::string> device_names() const = 0;

  // Opens device `index` for `format`; false (nothing open) on failure or when already open.
  virtual bool open(int index, const wave_format& format, wave_out_listener& listener) = 0;
  virtual bool is_open() const = 0;
  virtual void prepare(wave_header& h) { h.flags |= wave_prepared; }
  virtual void unprepare(wave_header& h) { h.flags &= ~static_cast<std::uint32_t>(wave_prepared); }
  // Queues a buffer behind those already queued; false when the device is not open.
  virtual bool write(wave_header& h) = 0;
  virtual void reset() = 0;
  virtual void close() = 0;
  virtual void set_volume(std::uint32_t word) = 0;
  // False for a device that never looks at the samples (a simulation of time only): the writer
  // may then leave the buffers unfilled and only account for how much it would have written.
  virtual bool wants_samples() const { return true; }
  // Why the last open() or write() failed, as the backend says it ("ALSA: cannot open ...:
  // No such file or directory"); empty after a success or when the backend cannot say. A backend
  // also writes each new reason to stderr.
  virtual std::string last_error() const { return {}; }
};

}  // namespace zta
