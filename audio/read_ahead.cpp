#include "audio/read_ahead.hpp"

#include <atomic>
#include <cstring>
#include <system_error>

namespace zta {

namespace {

// A batch is handed over once it holds this many samples (a second of a 44.1 kHz stereo import
// is about 44 KB after conversion): the threads meet about 80 times in an hour of audio.
constexpr std::size_t batch_samples = std::size_t{1} << 20;
// Three batches: one being filled, one being handed on, one waiting between them.
constexpr int batch_count = 3;

}  // namespace

// The acmwav's sink on the worker: copies each piece into the batch being filled.
class wav_read_ahead::queue_sink final : public sample_sink {
 public:
  explicit queue_sink(wav_read_ahead& owner) : owner_(owner) {}

  int append_block(std::int16_t* samples, std::int32_t byte_count) override {
    if (direct_ != nullptr) return direct_->append_block(samples, byte_count);
    if (filling_ != nullptr && used_ >= batch_samples) hand_over(false);
    if (filling_ == nullptr && !take_free()) return 0;
    const auto bytes = static_cast<std::size_t>(byte_count > 0 ? byte_count : 0);
    const std::size_t need = (bytes + 1) / 2;
    // Grows only while a batch is first filled; later rounds reuse the room.
    if (used_ + need > filling_->samples.size()) filling_->samples.resize(used_ + need);
    if (bytes != 0) std::memcpy(filling_->samples.data() + used_, samples, bytes);
    used_ += need;
    filling_->bytes.push_back(static_cast<std::int32_t>(bytes));
    return 0;
  }

  // The worker's end: the batch being filled goes over, marked as holding the last piece unless
  // the reading failed (then the step after its pieces reports the failure).
  void finish(bool last) {
    if (filling_ == nullptr && !take_free()) return;
    hand_over(last);
  }

  // Before a new reading: nothing being filled.
  void reset() {
    filling_ = nullptr;
    used_ = 0;
    stop = false;
    direct_ = nullptr;
  }

  std::atomic<bool> stop{false};
  sample_sink* direct_ = nullptr;  // without a worker the pieces go straight to the step's sink

 private:
  bool take_free() {
    std::unique_lock lock(owner_.mutex_);
    owner_.changed_.wait(lock, [&] { return !owner_.free_.empty() || owner_.stopping_; });
    if (owner_.stopping_) return false;
    filling_ = owner_.free_.back();
    owner_.free_.pop_back();
    used_ = 0;
    return true;
  }

  void hand_over(bool last) {
    filling_->last = last;
    {
      std::lock_guard lock(owner_.mutex_);
      owner_.ready_.push_back(filling_);
    }
    owner_.changed_.notify_all();
    filling_ = nullptr;
  }

  wav_read_ahead& owner_;
  batch* filling_ = nullptr;
  std::size_t used_ = 0;
};

wav_read_ahead::wav_read_ahead() : sink_(std::make_unique<queue_sink>(*this)) {}

wav_read_ahead::~wav_read_ahead() {
  stop();
}

bool wav_read_ahead::open(acmwav& wav, const std::string& path) {
  stop();
  if (!wav.open(path, sink_.get())) return false;
  {
    std::lock_guard lock(mutex_);
    stopping_ = false;
    worker_done_ = false;
    failure_ = nullptr;
    ready_.clear();
    free_.clear();
    while (batches_.size() < static_cast<std::size_t>(batch_count)) {
      batches_.push_back(std::make_unique<batch>());
    }
    for (auto& b : batches_) {
      b->bytes.clear();
      b->last = false;
      free_.push_back(b.get());
    }
  }
  sink_->reset();
  wav_ = &wav;
  current_ = nullptr;
  reading_ = true;
  inline_ = false;
  try {
    worker_ = std::thread([this] { run(); });
  } catch (const std::system_error&) {
    inline_ = true;
  }
  return true;
}

void wav_read_ahead::run() {
  bool failed = false;
  try {
    while (!sink_->stop.load(std::memory_order_relaxed) && wav_->step()) {
    }
  } catch (...) {
    std::lock_guard lock(mutex_);
    failure_ = std::current_exception();
    failed = true;
  }
  sink_->finish(!failed);
  {
    std::lock_guard lock(mutex_);
    worker_done_ = true;
  }
  changed_.notify_all();
}

wav_read_ahead::batch* wav_read_ahead::exchange(batch* done) {
  if (done != nullptr) {
    done->bytes.clear();
    done->last = false;
    {
      std::lock_guard lock(mutex_);
      free_.push_back(done);
    }
    // Outside the lock, so the woken worker does not at once wait for it.
    changed_.notify_all();
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return !ready_.empty() || worker_done_; });
  if (ready_.empty()) return nullptr;
  batch* b = ready_.front();
  ready_.pop_front();
  return b;
}

bool wav_read_ahead::step(sample_sink& sink) {
  if (!reading_) return false;
  if (inline_) {
    sink_->direct_ = &sink;
    reading_ = wav_->step();
    return reading_;
  }
  for (;;) {
    if (current_ != nullptr && piece_ < current_->bytes.size()) {
      const std::int32_t bytes = current_->bytes[piece_++];
      sink.append_block(current_->samples.data() + offset_, bytes);
      offset_ += (static_cast<std::size_t>(bytes) + 1) / 2;
      reading_ = !(current_->last && piece_ == current_->bytes.size());
      return reading_;
    }
    if (current_ != nullptr && current_->last) {
      reading_ = false;
      return false;
    }
    current_ = exchange(current_);
    piece_ = 0;
    offset_ = 0;
    if (current_ == nullptr) {
      // The worker ended without a last piece: its step threw, and this step throws the same.
      reading_ = false;
      std::exception_ptr failure;
      {
        std::lock_guard lock(mutex_);
        failure = failure_;
      }
      if (failure) std::rethrow_exception(failure);
      return false;
    }
  }
}

void wav_read_ahead::stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  sink_->stop = true;
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
  reading_ = false;
  current_ = nullptr;
  inline_ = false;
  wav_ = nullptr;
}

}  // namespace zta
