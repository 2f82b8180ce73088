#pragma once
// Reading a WAV file for import: our own RIFF walk with every check, decoding of data that is not
// 16-bit PCM through a pcm_decoder, reduction to the first channel, conversion to 22050 Hz, and
// delivery to a sample sink, in steps of one 2048-byte piece of the file carried through every
// stage, so memory stays bounded whatever the file's length.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "audio/convert_rate.hpp"
#include "audio/sample_sink.hpp"
#include "platform/api/pcm_decoder.hpp"

namespace zta {

enum class wav_error {
  none,
  no_file,        // no path or no sink, or the file cannot be opened
  not_riff,       // no RIFF/WAVE header
  no_format,      // no "fmt " chunk, or one smaller than 14 or larger than 4096 bytes
  no_data,        // no "data" chunk after the format (or a bad chunk on the way)
  empty_data,     // a "data" chunk of size 0
  cannot_decode,  // not 16-bit PCM and no decoder for it
};

// What went wrong, for a person.
const char* wav_error_text(wav_error e);

class acmwav {
 public:
  static constexpr std::int32_t raw_capacity = 2048;

  // decoders may be null: then only 16-bit PCM files can be read.
  explicit acmwav(pcm_decoder_factory* decoders = nullptr);
  ~acmwav();
  acmwav(const acmwav&) = delete;
  acmwav& operator=(const acmwav&) = delete;

  bool open(const std::string& path, sample_sink* sink);
  // One piece through every stage; true while more remains.
  bool step();
  void close();

  bool is_open() const { return open_; }
  wav_error error() const { return error_; }
  const wav_data_info& info() const { return info_; }
  int channels() const { return channels_; }
  const ConvertRate* converter() const { return converter_.get(); }
  bool decoding() const { return decoder_ != nullptr; }

  // A stage: samples (with room for the converter's 31-sample tail), fill and capacity in bytes.
  struct stage {
    std::vector<std::int16_t> data;
    std::int32_t fill = 0;
    std::int32_t capacity = 0;
    void allocate(std::int32_t bytes);
    void drop_front(std::int32_t bytes);
  };
  std::int32_t capacity(int stage_index) const;  // 0 raw, 1 decoded, 2 mono, 3 converted

 private:
  bool fail(wav_error e);
  bool walk_chunks();

  pcm_decoder_factory* decoders_;
  bool open_ = false;
  sample_sink* sink_ = nullptr;
  std::vector<char> file_buffer_;  // outlives file_
  std::FILE* file_ = nullptr;
  std::vector<std::uint8_t> format_;
  wav_data_info info_;
  std::unique_ptr<pcm_decoder> decoder_;
  int channels_ = 1;
  int frame_bytes_ = 2;
  std::unique_ptr<ConvertRate> converter_;
  stage raw_, decoded_, mono_, converted_;
  std::uint32_t remaining_ = 0;
  wav_error error_ = wav_error::none;
};

}  // namespace zta
