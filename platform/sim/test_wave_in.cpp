#include "platform/sim/test_wave_in.hpp"

#include <algorithm>
#include <cstring>

namespace zta {

std::vector<std::string> test_wave_in::device_names() const {
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(device_count_ > 0 ? device_count_ : 0));
  for (int i = 0; i < device_count_; ++i) names.push_back("test in " + std::to_string(i));
  return names;
}

bool test_wave_in::open(int index, const wave_format& format, wave_in_listener& listener) {
  if (open_ || fail_open || index < 0 || index >= device_count_) return false;
  open_ = true;
  started_ = false;
  listener_ = &listener;
  last_index = index;
  last_format = format;
  ++opens;
  return true;
}

bool test_wave_in::add_buffer(wave_in_header& h) {
  if (!open_) return false;
  h.flags = (h.flags & ~static_cast<std::uint32_t>(wave_done)) | wave_in_queue;
  h.recorded = 0;
  queue_.push_back(&h);
  return true;
}

bool test_wave_in::start() {
  if (!open_) return false;
  started_ = true;
  return true;
}

void test_wave_in::reset() {
  for (wave_in_header* h : queue_) {
    h->flags = (h->flags | wave_done) & ~static_cast<std::uint32_t>(wave_in_queue);
  }
  queue_.clear();
  started_ = false;
}

void test_wave_in::close() {
  reset();
  open_ = false;
  listener_ = nullptr;
}

bool test_wave_in::fill_next() {
  if (!open_ || !started_ || queue_.empty()) return false;
  wave_in_header* h = queue_.front();
  queue_.pop_front();
  const std::size_t n =
      std::min<std::size_t>(h->length, input.size() - std::min(input_pos, input.size()));
  if (n > 0) std::memcpy(h->data, input.data() + input_pos, n);
  std::memset(h->data + n, 0, h->length - n);
  input_pos += n;
  h->recorded = h->length;
  h->flags = (h->flags | wave_done) & ~static_cast<std::uint32_t>(wave_in_queue);
  listener_->buffer_filled(*h);
  return true;
}

}  // namespace zta
