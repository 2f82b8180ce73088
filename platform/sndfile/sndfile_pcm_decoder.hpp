#pragma once
// pcm_decoder backed by libsndfile: reads the same file and delivers 16-bit PCM of the file's
// own rate and channels. Float data is read as floats and rounded, since libsndfile's short
// reads of float files give zeros.
#include "platform/api/pcm_decoder.hpp"

namespace zta {

class sndfile_pcm_decoder_factory final : public pcm_decoder_factory {
 public:
  std::unique_ptr<pcm_decoder> open(const std::string& path, const wav_data_info& info) override;
};

}  // namespace zta
