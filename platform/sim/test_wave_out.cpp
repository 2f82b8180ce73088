#include "platform/sim/test_wave_out.hpp"

namespace zta {

std::vector<std::string> test_wave_out::device_names() const {
  if (!names_.empty()) return names_;
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(device_count_ > 0 ? device_count_ : 0));
  for (int i = 0; i < device_count_; ++i) names.push_back("test " + std::to_string(i));
  return names;
}

bool test_wave_out::open(int index, const wave_format& format, wave_out_listener& listener) {
  if (open_ || fail_open || unplugged || index < 0 || index >= device_count_) return false;
  open_ = true;
  listener_ = &listener;
  last_index = index;
  last_format = format;
  ++opens;
  return true;
}

bool test_wave_out::write(wave_header& h) {
  if (!open_ || fail_write) return false;
  h.flags = (h.flags & ~static_cast<std::uint32_t>(wave_done)) | wave_in_queue;
  if (keep_written) written.insert(written.end(), h.data, h.data + h.length);
  queue_.push_back(&h);
  return true;
}

void test_wave_out::reset() {
  for (wave_header* h : queue_) {
    h->flags = (h->flags | wave_done) & ~static_cast<std::uint32_t>(wave_in_queue);
  }
  queue_.clear();
}

void test_wave_out::close() {
  reset();
  open_ = false;
  listener_ = nullptr;
}

void test_wave_out::set_names(std::vector<std::string> names) {
  names_ = std::move(names);
  device_count_ = static_cast<int>(names_.size());
}

void test_wave_out::unplug() {
  unplugged = true;
  if (open_ && listener_ != nullptr) listener_->device_failed();
}

bool test_wave_out::complete_next() {
  if (!open_ || queue_.empty()) return false;
  wave_header* h = queue_.front();
  queue_.pop_front();
  h->flags = (h->flags | wave_done) & ~static_cast<std::uint32_t>(wave_in_queue);
  ++completed;
  listener_->buffer_done(*h);
  return true;
}

std::size_t test_wave_out::front_frames() const {
  if (queue_.empty()) return 0;
  return queue_.front()->length / static_cast<std::uint32_t>(last_format.block_align());
}

int test_wave_out::complete_all() {
  int n = 0;
  while (complete_next()) ++n;
  return n;
}

}  // namespace zta
