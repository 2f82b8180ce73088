#pragma once
// Where the WAV import delivers its 16-bit mono samples at 22050 Hz, block by block.
#include <cstdint>

namespace zta {

class sample_sink {
 public:
  virtual ~sample_sink() = default;
  // Takes byte_count bytes of samples (the buffer may be changed in place). Returns the block's
  // level for a meter.
  virtual int append_block(std::int16_t* samples, std::int32_t byte_count) = 0;
};

}  // namespace zta
