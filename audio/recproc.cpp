#include "audio/recproc.hpp"

#include <algorithm>
#include <bit>
#include <cstring>

#include "announcements/clip_files.hpp"
#include "audio/sample_bytes.hpp"

namespace zta {

namespace {

// After the gain, a block peak above about 1954 (-24.5 dB) starts the clip, and one above about
// 977 keeps it going.
constexpr std::int64_t start_threshold = 2000432;
constexpr std::int64_t loud_threshold = 1000432;
// No output peak above 16352 (about -6 dB).
constexpr std::int64_t peak_ceiling = 16744448;  // 0xFF8000

std::int32_t peak_of(const std::int16_t* s, std::int32_t n) {
  std::int32_t p = 0;
  for (std::int32_t k = 0; k < n; ++k) p = std::max(p, s[k] < 0 ? -s[k] : static_cast<int>(s[k]));
  return p;
}

// The same over a whole block, in a loop of fixed length the compiler vectorises: the largest
// and the smallest sample in 16 bits (|-32768| does not fit), then the larger magnitude.
std::int32_t block_peak(const std::array<std::int16_t, recproc::block_samples>& s) {
  std::int16_t hi = 0;
  std::int16_t lo = 0;
  for (const std::int16_t v : s) {
    hi = std::max(hi, v);
    lo = std::min(lo, v);
  }
  return std::max(static_cast<std::int32_t>(hi), -static_cast<std::int32_t>(lo));
}

// The peak of the r bytes read into a block.
std::int32_t read_peak(const std::array<std::int16_t, recproc::block_samples>& s, std::int32_t r) {
  return r == recproc::block_bytes ? block_peak(s) : peak_of(s.data(), r / 2);
}

std::int16_t scaled(std::int16_t s, std::int32_t smoothed) {
  return static_cast<std::int16_t>((s * (smoothed >> 10)) >> 10);
}

// One block at a gain moving by delta each sample; returns the gain reached. The buffers never
// overlap, which lets the compiler vectorise the loop. The smoothed gain only ever moves between
// 0 and the largest target, 8145 x 1024, so its Q10 part fits 16 bits and the product is a
// 16 x 16-bit multiply.
std::int32_t ramp(const std::int16_t* __restrict in, std::int16_t* __restrict out,
                  std::int32_t smoothed, std::int32_t delta) {
  for (int k = 0; k < recproc::block_samples; ++k) {
    smoothed += delta;
    const auto g = static_cast<std::int16_t>(smoothed >> 10);
    out[k] = static_cast<std::int16_t>((static_cast<std::int32_t>(in[k]) * g) >> 10);
  }
  return smoothed;
}

// Reads a whole block, zeroing what the source did not fill; returns the bytes read.
std::int32_t fetch(rectmp& src, std::array<std::int16_t, recproc::block_samples>& block) {
  const std::int32_t r = src.fetch_block(block.data(), recproc::block_bytes);
  if (r < recproc::block_bytes) {
    auto* bytes = reinterpret_cast<unsigned char*>(block.data());
    std::memset(bytes + r, 0, static_cast<std::size_t>(recproc::block_bytes - r));
  }
  return r;
}

}  // namespace

const char* level_warning_tag(level_warning w) {
  return w == level_warning::very_high ? "warn: level very high" : "warn: level very low";
}

const char* level_warning_text(level_warning w) {
  if (w == level_warning::very_high) {
    return "The record level is very high.\n\r\n\rPlease check:\r1. The mixer record settings for "
           "the sound card which you are using; and,\r2. The User Record Device in the Settings "
           "Dialog box.For more information, please click on the Help button.\r";
  }
  return "The record level is very low.\n\r\n\rPlease check:\r1. The mixer record settings for the "
         "sound card which you are using; and,\r2. The User Record Device in the Settings Dialog "
         "box.\rFor more information, please click on the Help button.";
}

recproc::recproc(station& st, rectmp* source, std::int16_t* clip, std::int32_t* id_serial)
    : st_(st), source_(source), result_clip_(clip), result_length_(id_serial) {
  if (result_clip_ != nullptr) *result_clip_ = -1;
  if (result_length_ != nullptr) *result_length_ = 0;
}

recproc::~recproc() {
  clip_file_.reset();
  set_clip_filling(st_, new_clip_, false);
  if (valid_clip(new_clip_) &&
      (st_.clip_use[static_cast<std::size_t>(new_clip_)] & clip_allocated)) {
    release_clip(st_, new_clip_);
  }
}

void recproc::fail(recproc_failure f) {
  running_ = false;
  succeeded_ = false;
  failure_ = f;
}

bool recproc::start() {
  if (source_ == nullptr) {
    fail(recproc_failure::silent);
    return false;
  }
  source_->rewind();
  // The processing is the temporary file's last reader.
  source_->give_back_what_is_read();
  new_clip_ = static_cast<std::int16_t>(find_free_clip(st_));
  if (!valid_clip(new_clip_)) {
    fail(recproc_failure::no_free_clip);
    return false;
  }
  clip_file_ = create_clip(st_, new_clip_);
  if (!clip_file_) {
    new_clip_ = -1;
    fail(recproc_failure::clip_not_created);
    return false;
  }
  use_large_buffer(clip_file_.get(), clip_buffer_);
  st_.clip_use[static_cast<std::size_t>(new_clip_)] |= clip_allocated;
  // Not yet referenced by any announcement: the clean-up must leave it alone until it is done.
  set_clip_filling(st_, new_clip_, true);

  const std::int32_t r = fetch(*source_, held());
  held_peak_ = read_peak(held(), r);
  started_ = false;
  gain_ = source_->normalising_gain();
  if (gain_ <= gain_warn_high) warnings_.push_back(level_warning::very_high);
  if (gain_ >= gain_warn_low) warnings_.push_back(level_warning::very_low);
  running_ = true;
  return true;
}

void recproc::write_samples(const std::int16_t* s, std::int32_t bytes) {
  if (bytes <= 0) return;
  const void* data = s;
  std::array<std::int16_t, block_samples> le;
  if constexpr (std::endian::native != std::endian::little) {
    std::memcpy(le.data(), s, static_cast<std::size_t>(bytes));
    swap_le_samples(le.data(), static_cast<std::size_t>(bytes / 2));
    data = le.data();
  }
  if (std::fwrite(data, 1, static_cast<std::size_t>(bytes), clip_file_.get()) !=
      static_cast<std::size_t>(bytes)) {
    write_error_ = true;
  }
}

bool recproc::step() {
  if (!running_) return false;
  const std::int32_t r = fetch(*source_, ahead());
  const std::int32_t b = read_peak(ahead(), r);
  if (!started_ && static_cast<std::int64_t>(gain_) * b > start_threshold) started_ = true;
  if (started_) {
    written_ += block_samples;
    if (static_cast<std::int64_t>(gain_) * b > loud_threshold) end_position_ = written_;
    const std::int32_t p = std::max(b, held_peak_);
    std::int32_t target = gain_;
    if (static_cast<std::int64_t>(gain_) * p > peak_ceiling) {
      target = static_cast<std::int32_t>(peak_ceiling / p);
    }
    // The gain moves in a straight line from its old value to the target across the block.
    const std::int32_t delta = (target * 1024 - smoothed_) >> 9;
    smoothed_ = ramp(held().data(), out_.data(), smoothed_, delta);
    write_samples(out_.data(), block_bytes);
  }
  if (r == block_bytes) {
    held_ = 1 - held_;
    held_peak_ = b;
    return true;
  }
  // The source is exhausted: the look-ahead's samples go out at the gain reached.
  for (std::int32_t k = 0; k < r / 2; ++k) {
    out_[static_cast<std::size_t>(k)] = scaled(ahead()[static_cast<std::size_t>(k)], smoothed_);
  }
  if (r % 2 != 0) out_[static_cast<std::size_t>(r / 2)] = ahead()[static_cast<std::size_t>(r / 2)];
  write_samples(out_.data(), r);
  written_ += r / 2;
  running_ = false;
  finish();
  return false;
}

void recproc::finish() {
  if (!started_) {
    fail(recproc_failure::silent);
    return;
  }
  // A clip that did not reach the disk whole is not reported as made.
  const bool flushed = std::fflush(clip_file_.get()) == 0 && !write_error_;
  clip_file_.reset();
  set_clip_filling(st_, new_clip_, false);
  if (!flushed) {
    fail(recproc_failure::write_failed);
    return;
  }
  end_position_ = std::min(end_position_ + block_samples, written_);
  if (result_clip_ != nullptr) *result_clip_ = new_clip_;
  if (result_length_ != nullptr) *result_length_ = end_position_;
  new_clip_ = -1;
  succeeded_ = true;
  failure_ = recproc_failure::none;
}

void recproc::cancel() {
  if (succeeded_ || failure_ != recproc_failure::none) return;
  fail(recproc_failure::cancelled);
}

recproc_failure process_in_loop(station& st, rectmp& source, std::int16_t& clip,
                                std::int32_t& id_serial, std::vector<level_warning>* warnings) {
  recproc job(st, &source, &clip, &id_serial);
  const bool started = job.start();
  if (warnings != nullptr)
    warnings->insert(warnings->end(), job.warnings().begin(), job.warnings().end());
  if (started) {
    while (job.step()) {
    }
  }
  return job.failure();
}

}  // namespace zta
