#pragma once
// Sound input device: a queue of caller-owned buffers filled in order, each handed back once the
// device has filled it.
//
// Contract (every backend keeps it; the recording code relies on it):
// - Every call is made on the main thread, the thread that runs the event loop.
// - After start(), the device fills the queued buffers in the order they were added. A filled
//   buffer is delivered to the listener given to open(), on the main thread, from the event loop,
//   never from inside a call of this interface. Before the listener is called the header's
//   wave_done flag is set, wave_in_queue is cleared and `recorded` holds the bytes filled (a
//   whole number of frames, at most `length`).
// - The listener may call any operation of this interface from inside a delivery, including
//   add_buffer() of the same header, reset() and close().
// - reset() stops recording and returns every queued buffer at once: each gets wave_done and
//   loses wave_in_queue, and no delivery follows for any buffer added before the reset; close()
//   implies reset(). Whatever the device still delivers after that is dropped by the backend, so
//   late completions are harmless.
// - A buffer's memory stays owned by the caller and must stay valid until its delivery or a
//   reset; the device only writes `length` bytes of it.
// - Buffers added before start() wait; start() with no buffer queued records nothing until one is
//   added.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/api/wave_out.hpp"

namespace zta {

struct wave_in_header {
  std::uint8_t* data = nullptr;
  std::uint32_t length = 0;    // bytes the buffer holds, a whole number of frames
  std::uint32_t recorded = 0;  // bytes filled, set before the delivery
  std::uint32_t flags = 0;     // wave_header_flag bits
};

class wave_in_listener {
 public:
  virtual void buffer_filled(wave_in_header& header) = 0;

 protected:
  ~wave_in_listener() = default;
};

class wave_in {
 public:
  virtual ~wave_in() = default;

  // Names for the Settings dialog, in device-index order.
  virtual std::vector<std::string> device_names() const = 0;

  // Opens device `index` for `format`; false (nothing open) on failure or when already open.
  virtual bool open(int index, const wave_format& format, wave_in_listener& listener) = 0;
  virtual bool is_open() const = 0;
  virtual void prepare(wave_in_header& h) { h.flags |= wave_prepared; }
  virtual void unprepare(wave_in_header& h) {
    h.flags &= ~static_cast<std::uint32_t>(wave_prepared);
  }
  // Queues an empty buffer behind those already queued; false when the device is not open.
  virtual bool add_buffer(wave_in_header& h) = 0;
  virtual bool start() = 0;
  virtual void reset() = 0;
  virtual void close() = 0;
  // Why the last open() or start() failed, as the backend says it; empty after a success or when
  // the backend cannot say. A backend also writes each new reason to stderr.
  virtual std::string last_error() const { return {}; }
};

}  // namespace zta
