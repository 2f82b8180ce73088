#pragma once
// Reading a WAV file through acmwav the way the import does, keeping what it delivers.
#include <cstdint>
#include <vector>

#include "audio/acmwav.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta::test {

// Keeps every block the reader delivers, as delivered.
struct capture_sink final : sample_sink {
  std::vector<std::int32_t> block_bytes;
  std::vector<std::int16_t> samples;
  int append_block(std::int16_t* s, std::int32_t bytes) override {
    block_bytes.push_back(bytes);
    samples.insert(samples.end(), s, s + bytes / 2);
    return 0;
  }
};

struct read_result {
  bool opened;
  wav_error error;
  capture_sink sink;
  int steps = 0;
};

inline read_result read_wav(const std::vector<std::uint8_t>& bytes,
                            pcm_decoder_factory* dec = nullptr) {
  temp_folder dir;
  dir.write("in.wav", bytes);
  read_result r{};
  acmwav w(dec);
  r.opened = w.open(dir.file("in.wav"), &r.sink);
  r.error = w.error();
  while (w.step()) {
    if (++r.steps > 1000000) break;
  }
  return r;
}

}  // namespace zta::test
