#include "platform/sim/sim_wave_in.hpp"

#include <algorithm>
#include <cstring>

#include "base/byte_codec.hpp"

namespace zta {

sim_wave_in::sim_wave_in(std::string folder, double speed, std::unique_ptr<loop_timer> timer)
    : folder_(std::move(folder)), speed_(speed > 0 ? speed : 1.0), timer_(std::move(timer)) {}

sim_wave_in::~sim_wave_in() {
  close();
}

bool sim_wave_in::open_source() {
  source_ = std::fopen(wav_path().c_str(), "rb");
  if (source_ == nullptr) return false;
  std::uint8_t head[12];
  if (std::fread(head, 1, 12, source_) != 12 || std::memcmp(head, "RIFF", 4) != 0 ||
      std::memcmp(head + 8, "WAVE", 4) != 0) {
    return false;
  }
  bool format_ok = false;
  // Bounded: a file of nothing but tiny chunks is not followed for ever.
  for (int chunks = 0; chunks < 1024; ++chunks) {
    std::uint8_t chunk[8];
    if (std::fread(chunk, 1, 8, source_) != 8) return false;
    const std::uint32_t size = load_le<std::uint32_t>(chunk + 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16 && size <= 4096) {
      std::uint8_t fmt[16];
      if (std::fread(fmt, 1, 16, source_) != 16) return false;
      const int channels = load_le<std::uint16_t>(fmt + 2);
      format_ok = load_le<std::uint16_t>(fmt) == 1 && load_le<std::uint16_t>(fmt + 14) == 16 &&
                  channels >= 1;
      source_channels_ = std::max(channels, 1);
      if (std::fseek(source_, static_cast<long>(size) - 16 + static_cast<long>(size & 1),
                     SEEK_CUR) != 0)
        return false;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      source_left_ = format_ok ? size : 0;
      return format_ok;
    } else if (std::fseek(source_, static_cast<long>(size) + static_cast<long>(size & 1),
                          SEEK_CUR) != 0) {
      return false;
    }
  }
  return false;
}

bool sim_wave_in::open(int index, const wave_format& format, wave_in_listener& listener) {
  if (is_open() || index != 0) return false;
  if (!open_source() && source_ != nullptr) {
    std::fclose(source_);
    source_ = nullptr;
  }
  if (source_ == nullptr) source_left_ = 0;
  format_ = format;
  listener_ = &listener;
  started_ = false;
  return true;
}

sim_wave_in::clock::duration sim_wave_in::duration_of(const wave_in_header& h) const {
  const std::uint32_t whole_frames = h.length / static_cast<std::uint32_t>(format_.block_align());
  const double frames = whole_frames;
  return std::chrono::duration_cast<clock::duration>(
      std::chrono::duration<double>(frames / format_.rate / speed_));
}

bool sim_wave_in::add_buffer(wave_in_header& h) {
  if (!is_open()) return false;
  h.flags = (h.flags & ~static_cast<std::uint32_t>(wave_done)) | wave_in_queue;
  h.recorded = 0;
  if (started_) {
    // With nothing queued the device has been dropping its input until now.
    const auto now = clock::now();
    if (queue_.empty() && head_ < now) head_ = now;
    head_ += duration_of(h);
  }
  queue_.push_back({&h, head_});
  if (started_) arm();
  return true;
}

void sim_wave_in::schedule_from(clock::time_point head) {
  head_ = head;
  for (queued& q : queue_) {
    head_ += duration_of(*q.header);
    q.due = head_;
  }
}

bool sim_wave_in::start() {
  if (!is_open()) return false;
  if (!started_) {
    started_ = true;
    schedule_from(clock::now());
  }
  arm();
  return true;
}

void sim_wave_in::arm() {
  if (queue_.empty() || !started_) {
    timer_->stop();
    return;
  }
  auto wait = std::chrono::ceil<std::chrono::milliseconds>(queue_.front().due - clock::now());
  timer_->start(static_cast<int>(std::max<std::int64_t>(0, wait.count())), [this] { deliver(); });
}

void sim_wave_in::fill(wave_in_header& h) {
  const std::size_t frame = static_cast<std::size_t>(source_channels_) * 2;
  std::vector<std::uint8_t> frames(frame * 256);
  std::uint32_t at = 0;
  while (at + 2 <= h.length && source_ != nullptr && source_left_ >= frame) {
    const std::size_t want =
        std::min<std::size_t>({(h.length - at) / 2, source_left_ / frame, 256});
    const std::size_t got = std::fread(frames.data(), frame, want, source_);
    for (std::size_t k = 0; k < got; ++k) {
      h.data[at++] = frames[k * frame];
      h.data[at++] = frames[k * frame + 1];
    }
    source_left_ -= static_cast<std::uint32_t>(got * frame);
    if (got < want) source_left_ = 0;  // a short file ends its data here
  }
  std::memset(h.data + at, 0, h.length - at);
  h.recorded = h.length;
}

void sim_wave_in::deliver() {
  while (is_open() && started_ && !queue_.empty() && queue_.front().due <= clock::now()) {
    wave_in_header* h = queue_.front().header;
    queue_.pop_front();
    fill(*h);
    h->flags = (h->flags | wave_done) & ~static_cast<std::uint32_t>(wave_in_queue);
    listener_->buffer_filled(*h);  // may add a buffer, reset or close
  }
  if (is_open()) arm();
}

void sim_wave_in::reset() {
  for (auto& q : queue_) {
    q.header->flags = (q.header->flags | wave_done) & ~static_cast<std::uint32_t>(wave_in_queue);
  }
  queue_.clear();
  timer_->stop();
  started_ = false;
}

void sim_wave_in::close() {
  reset();
  if (source_ != nullptr) std::fclose(source_);
  source_ = nullptr;
  listener_ = nullptr;
}

}  // namespace zta
