#include "audio/acmwav.hpp"

#include <algorithm>
#include <bit>
#include <cstring>

#include "audio/sample_bytes.hpp"
#include "base/byte_codec.hpp"
#include "base/file_io.hpp"

namespace zta {

namespace {

constexpr std::int32_t target_rate = 22050;
constexpr std::int32_t tail_samples = 31;
constexpr std::int32_t min_stage = 256;
// A decoder's own estimate is trusted only this far, to keep memory bounded.
constexpr std::size_t max_decoded_stage = 65536;

bool is_id(const std::uint8_t* p, const char* id) {
  return std::memcmp(p, id, 4) == 0;
}

bool read_exact(std::FILE* f, void* out, std::size_t n) {
  return std::fread(out, 1, n, f) == n;
}

bool skip(std::FILE* f, std::int64_t n) {
  return std::fseek(f, static_cast<long>(n), SEEK_CUR) == 0;
}

// The first sample of each of n frames. Stereo, the usual case, goes in runs of fixed length
// the compiler vectorises.
void first_channel(const std::int16_t* __restrict in, std::int16_t* __restrict out, std::int32_t n,
                   int channels) {
  std::int32_t k = 0;
  if (channels == 2) {
    for (; k + 32 <= n; k += 32) {
      std::uint32_t frames[32];
      std::memcpy(frames, in + 2 * k, sizeof frames);
      for (int j = 0; j < 32; ++j) {
        // The first channel's sample is the frame's first 16 bits in memory.
        if constexpr (std::endian::native == std::endian::little)
          out[k + j] = static_cast<std::int16_t>(frames[j] & 0xFFFFu);
        else
          out[k + j] = static_cast<std::int16_t>(frames[j] >> 16);
      }
    }
  }
  for (; k < n; ++k) out[k] = in[k * channels];
}

}  // namespace

void acmwav::stage::allocate(std::int32_t bytes) {
  capacity = bytes;
  fill = 0;
  data.assign(static_cast<std::size_t>(bytes / 2) + 1 + static_cast<std::size_t>(tail_samples), 0);
}

void acmwav::stage::drop_front(std::int32_t bytes) {
  if (bytes <= 0) return;
  if (bytes >= fill) {
    fill = 0;
    return;
  }
  auto* b = reinterpret_cast<std::uint8_t*>(data.data());
  std::memmove(b, b + bytes, static_cast<std::size_t>(fill - bytes));
  fill -= bytes;
}

acmwav::acmwav(pcm_decoder_factory* decoders) : decoders_(decoders) {}

acmwav::~acmwav() {
  close();
}

std::int32_t acmwav::capacity(int stage_index) const {
  switch (stage_index) {
    case 0:
      return raw_.capacity;
    case 1:
      return decoded_.capacity;
    case 2:
      return mono_.capacity;
    case 3:
      return converted_.capacity;
    default:
      return 0;
  }
}

const char* wav_error_text(wav_error e) {
  switch (e) {
    case wav_error::none:
      return "read";
    case wav_error::no_file:
      return "cannot be opened";
    case wav_error::not_riff:
      return "not a WAV file";
    case wav_error::no_format:
      return "no usable \"fmt \" chunk";
    case wav_error::no_data:
      return "no \"data\" chunk";
    case wav_error::empty_data:
      return "an empty \"data\" chunk";
    case wav_error::cannot_decode:
      return "data that cannot be decoded";
  }
  return "unreadable";
}

bool acmwav::fail(wav_error e) {
  error_ = e;
  close();
  error_ = e;
  return false;
}

void acmwav::close() {
  open_ = false;
  sink_ = nullptr;
  raw_ = {};
  decoded_ = {};
  mono_ = {};
  converted_ = {};
  converter_.reset();
  decoder_.reset();
  format_.clear();
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  remaining_ = 0;
}

// Inside the RIFF form: the "fmt " chunk, then the "data" chunk; every other chunk is skipped.
bool acmwav::walk_chunks() {
  std::uint8_t h[8];
  for (;;) {
    if (!read_exact(file_, h, 8)) return fail(wav_error::no_format);
    const auto size = load_le<std::int32_t>(h + 4);
    if (is_id(h, "fmt ")) {
      if (size < 14 || size > 4096) return fail(wav_error::no_format);
      format_.resize(static_cast<std::size_t>(size));
      if (!read_exact(file_, format_.data(), format_.size())) return fail(wav_error::no_format);
      // Chunks are word-aligned: an odd-sized format is followed by a pad byte.
      if (size % 2 != 0 && !skip(file_, 1)) return fail(wav_error::no_format);
      break;
    }
    const std::int64_t even = (static_cast<std::int64_t>(size) + 1) & ~std::int64_t{1};
    if (even <= 0 || !skip(file_, even)) return fail(wav_error::no_format);
  }
  for (;;) {
    if (!read_exact(file_, h, 8)) return fail(wav_error::no_data);
    if (is_id(h, "data")) {
      remaining_ = load_le<std::uint32_t>(h + 4);
      if (remaining_ == 0) return fail(wav_error::empty_data);
      return true;
    }
    const std::int64_t even =
        (static_cast<std::int64_t>(load_le<std::int32_t>(h + 4)) + 1) & ~std::int64_t{1};
    if (even <= 0 || !skip(file_, even)) return fail(wav_error::no_data);
  }
}

bool acmwav::open(const std::string& path, sample_sink* sink) {
  close();
  error_ = wav_error::none;
  if (path.empty() || sink == nullptr) return fail(wav_error::no_file);
  file_ = open_chosen_file_for_read(path).release();
  if (file_ == nullptr) return fail(wav_error::no_file);
  // The pieces below stay 2048 bytes (they set the blocks the loudness is measured on); only
  // the reads from the file are large.
  use_large_buffer(file_, file_buffer_);

  std::uint8_t h[12];
  for (;;) {
    if (!read_exact(file_, h, 12)) return fail(wav_error::not_riff);
    if (is_id(h, "RIFF") && is_id(h + 8, "WAVE")) break;
    const std::int64_t even =
        (static_cast<std::int64_t>(load_le<std::int32_t>(h + 4)) + 1) & ~std::int64_t{1};
    if (even <= 4 || !skip(file_, even - 4)) return fail(wav_error::not_riff);
  }
  if (!walk_chunks()) return false;

  const std::uint8_t* f = format_.data();
  info_ = {};
  info_.format_tag = load_le<std::uint16_t>(f);
  info_.channels = load_le<std::uint16_t>(f + 2);
  info_.sample_rate = load_le<std::uint32_t>(f + 4);
  info_.block_align = load_le<std::uint16_t>(f + 12);
  info_.bits_per_sample = format_.size() >= 16 ? load_le<std::uint16_t>(f + 14) : 0;
  const long offset = std::ftell(file_);
  info_.data_offset = offset > 0 ? static_cast<std::uint64_t>(offset) : 0;
  info_.data_size = remaining_;

  if (info_.format_tag != 1 || info_.bits_per_sample != 16) {
    if (decoders_ != nullptr) decoder_ = decoders_->open(path, info_);
    if (decoder_ == nullptr || decoder_->channels() != info_.channels) {
      return fail(wav_error::cannot_decode);
    }
  }
  channels_ = info_.channels == 0 || info_.channels > 16 ? 1 : info_.channels;
  frame_bytes_ = 2 * (decoder_ ? decoder_->channels() : channels_);

  const auto rate = static_cast<std::int32_t>(std::min<std::uint32_t>(info_.sample_rate, 1u << 30));
  if (rate != target_rate && rate >= 6000 && rate <= 98000) {
    converter_ = std::make_unique<ConvertRate>(rate, target_rate);
  }

  raw_.allocate(raw_capacity);
  std::int32_t last = raw_capacity;
  if (decoder_) {
    const std::size_t out = decoder_->output_size(raw_capacity);
    if (out == 0) return fail(wav_error::cannot_decode);
    const auto cap = static_cast<std::int32_t>(
        std::clamp<std::size_t>(out, static_cast<std::size_t>(min_stage), max_decoded_stage));
    decoded_.allocate(cap);
    last = cap;
    // The buffer must hold whole frames, or the pull could never make progress.
    if (decoder_->channels() < 1 || 2 * frame_bytes_ > cap) return fail(wav_error::cannot_decode);
  }
  if (channels_ >= 2) {
    mono_.allocate(std::max(last / channels_ + 1, min_stage));
    last = mono_.capacity;
  }
  if (converter_) {
    const std::int64_t l = converter_->phases();
    const std::int64_t m = converter_->step() > 0 ? converter_->step() : 1;
    const std::int64_t outs = l * (last / 2 + tail_samples) / m + 2;
    converted_.allocate(std::max(static_cast<std::int32_t>(2 * outs), min_stage));
  }
  sink_ = sink;
  open_ = true;
  return true;
}

bool acmwav::step() {
  if (!open_) return false;
  bool last = false;
  stage* cur = &raw_;

  if (!decoder_) {
    const auto space = static_cast<std::uint32_t>(raw_.capacity - raw_.fill);
    std::uint32_t ask = remaining_;
    if (space == 0) {
      // The later stages always take something; a full buffer would mean no progress.
      ask = 0;
      last = true;
    } else if (space < remaining_) {
      ask = space;
    } else {
      last = true;
    }
    remaining_ -= ask;
    auto* at = reinterpret_cast<std::uint8_t*>(raw_.data.data()) + raw_.fill;
    if (ask != 0 && std::fread(at, 1, ask, file_) != ask) {
      // A short read ends the data here.
      remaining_ = 0;
      last = true;
    } else {
      if (raw_.fill % 2 == 0) {
        swap_le_samples(raw_.data.data() + raw_.fill / 2, ask / 2);
      }
      raw_.fill += static_cast<std::int32_t>(ask);
    }
  } else {
    const std::int32_t frames = (decoded_.capacity - decoded_.fill) / frame_bytes_;
    const long got =
        frames > 0 ? decoder_->read_frames(decoded_.data.data() + decoded_.fill / 2, frames) : 0;
    if (got < 0 || got > frames) {
      // A decoding error ends the import at that point.
      last = true;
    } else {
      decoded_.fill += static_cast<std::int32_t>(got) * frame_bytes_;
      if (got < frames || frames == 0) last = true;
    }
    cur = &decoded_;
  }

  if (channels_ >= 2) {
    const std::int32_t free_samples = (mono_.capacity - mono_.fill) / 2;
    const std::int32_t n = std::min(cur->fill / 2 / channels_, free_samples);
    first_channel(cur->data.data(), mono_.data.data() + mono_.fill / 2, n, channels_);
    mono_.fill += 2 * n;
    cur->drop_front(2 * n * channels_);
    cur = &mono_;
  }

  if (converter_) {
    std::int32_t count = cur->fill / 2;
    const std::int32_t outs = converter_->convert(cur->data.data(), converted_.data.data(), count,
                                                  converted_.capacity / 2);
    converted_.fill = 2 * outs;
    cur->drop_front(2 * count);
    if (last) {
      // 31 zeros after the last samples bring them to the filter's centre.
      const std::int32_t left = cur->fill / 2;
      std::fill_n(cur->data.data() + left, tail_samples, std::int16_t{0});
      count = left + tail_samples;
      const std::int32_t room = (converted_.capacity - converted_.fill) / 2;
      converted_.fill +=
          2 * converter_->convert(cur->data.data(), converted_.data.data() + converted_.fill / 2,
                                  count, room);
      cur->fill = 0;
    }
    cur = &converted_;
  }

  sink_->append_block(cur->data.data(), cur->fill);
  cur->fill = 0;
  return !last;
}

}  // namespace zta
