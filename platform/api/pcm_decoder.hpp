#pragma once
// Decoding of WAV data that is not 16-bit PCM (8-bit, ADPCM, u-law, float, ...) into 16-bit PCM
// of the same rate and channel count. The WAV import walks the file's chunks and checks them
// itself; it asks a factory for a decoder only once the file has passed those checks, then pulls
// the decoded samples in pieces of its own size, so memory stays bounded by its buffers.
//
// Contract: a decoder is used by one thread at a time (the import opens it on the caller's thread
// and reads it on its worker, never both at once); a decoder never blocks on anything but reading
// the file; a damaged file ends the data early (or reports -1), never hangs.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace zta {

// What the import found in the file.
struct wav_data_info {
  std::uint16_t format_tag = 0;
  std::uint16_t channels = 0;  // as the "fmt " chunk says
  std::uint32_t sample_rate = 0;
  std::uint16_t block_align = 0;
  std::uint16_t bits_per_sample = 0;
  std::uint64_t data_offset = 0;  // first byte of the "data" chunk's contents
  std::uint32_t data_size = 0;    // as the chunk header says (may run past the file's end)
};

class pcm_decoder {
 public:
  virtual ~pcm_decoder() = default;
  // Channels of the frames read_frames delivers.
  virtual int channels() const = 0;
  // The most bytes of 16-bit PCM that source_bytes of the file's data decode to; 0 if unknown.
  virtual std::size_t output_size(std::size_t source_bytes) const = 0;
  // Up to max_frames interleaved frames of 16-bit samples in host order. Returns the frames
  // written: fewer than asked only at the end of the data; -1 on a decoding error.
  virtual long read_frames(std::int16_t* out, long max_frames) = 0;
};

class pcm_decoder_factory {
 public:
  virtual ~pcm_decoder_factory() = default;
  // A decoder for the file's data, or null when this format cannot be decoded.
  virtual std::unique_ptr<pcm_decoder> open(const std::string& path, const wav_data_info& info) = 0;
};

}  // namespace zta
