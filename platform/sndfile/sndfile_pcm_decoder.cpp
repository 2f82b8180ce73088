#include "platform/sndfile/sndfile_pcm_decoder.hpp"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zta {

namespace {

class sndfile_pcm_decoder final : public pcm_decoder {
 public:
  sndfile_pcm_decoder(SNDFILE* f, const SF_INFO& sf, const wav_data_info& info)
      : file_(f), channels_(sf.channels), info_(info) {
    const int sub = sf.format & SF_FORMAT_SUBMASK;
    floats_ = sub == SF_FORMAT_FLOAT || sub == SF_FORMAT_DOUBLE;
  }
  ~sndfile_pcm_decoder() override { sf_close(file_); }

  int channels() const override { return channels_; }

  std::size_t output_size(std::size_t source_bytes) const override {
    const unsigned bits = info_.bits_per_sample;
    if (bits >= 8) return source_bytes / (bits / 8) * 2;
    if (bits >= 2) return source_bytes * 16 / bits;
    // Codecs that do not give bits per sample (GSM 6.10 packs 320 samples into 65 bytes).
    return source_bytes * 10;
  }

  long read_frames(std::int16_t* out, long max_frames) override {
    if (max_frames <= 0) return 0;
    sf_count_t got;
    if (!floats_) {
      got = sf_readf_short(file_, out, max_frames);
    } else {
      scratch_.resize(static_cast<std::size_t>(max_frames) * static_cast<std::size_t>(channels_));
      got = sf_readf_float(file_, scratch_.data(), max_frames);
      const auto n = static_cast<std::size_t>(std::max<sf_count_t>(got, 0)) *
                     static_cast<std::size_t>(channels_);
      for (std::size_t i = 0; i < n; ++i) {
        const float v = std::clamp(scratch_[i] * 32768.0f, -32768.0f, 32767.0f);
        out[i] = static_cast<std::int16_t>(std::lrint(v));
      }
    }
    if (got < 0 || sf_error(file_) != SF_ERR_NO_ERROR) return got > 0 ? static_cast<long>(got) : -1;
    return static_cast<long>(got);
  }

 private:
  SNDFILE* file_;
  int channels_;
  wav_data_info info_;
  bool floats_ = false;
  std::vector<float> scratch_;
};

}  // namespace

std::unique_ptr<pcm_decoder> sndfile_pcm_decoder_factory::open(const std::string& path,
                                                               const wav_data_info& info) {
  SF_INFO sf{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &sf);
  if (f == nullptr) return nullptr;
  // The decoder must deliver what the file's own format says, or the later stages misread it.
  if (sf.channels != info.channels || sf.samplerate != static_cast<int>(info.sample_rate) ||
      ((sf.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAV &&
       (sf.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_WAVEX)) {
    sf_close(f);
    return nullptr;
  }
  return std::make_unique<sndfile_pcm_decoder>(f, sf, info);
}

}  // namespace zta
