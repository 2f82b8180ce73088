#pragma once
// The decoder of a package audio section: code bytes in blocks, 16-bit clip samples out. The
// whole state lives in a section_decoder_state, so a section can be decoded block by block and
// continued on another disk.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include "announcements/piece_tables.hpp"

namespace zta {

inline constexpr std::size_t code_block_size = 4096;     // code bytes read per step
inline constexpr std::size_t sample_buffer_size = 4096;  // samples collected before a write
inline constexpr std::uint8_t section_checksum_seed = 125;
inline constexpr std::size_t section_header_size = 12;

// Where decoded samples go, a buffer of at most sample_buffer_size samples at a time.
class sample_output {
 public:
  virtual ~sample_output() = default;
  virtual void write(std::span<const std::int16_t> samples) = 0;
};

// Appends samples to an open clip file as 16-bit little-endian; remembers a failed write.
class clip_file_output final : public sample_output {
 public:
  explicit clip_file_output(std::FILE* f) : file_(f) {}
  void write(std::span<const std::int16_t> samples) override;
  bool failed() const { return failed_; }

 private:
  std::FILE* file_;
  bool failed_ = false;
};

// Collects samples in memory (the tool, tests, fuzzing).
class memory_output final : public sample_output {
 public:
  void write(std::span<const std::int16_t> samples) override {
    samples_.insert(samples_.end(), samples.begin(), samples.end());
  }
  std::vector<std::int16_t>& samples() { return samples_; }

 private:
  std::vector<std::int16_t> samples_;
};

// The state at the start of a section of K samples (positive: 8-bit precision, negative: 12-bit).
// K = -2^31 has no magnitude and is refused (false; the state is then left finished in error).
bool start_section(section_decoder_state& s, std::int32_t k);

// Decodes as many samples as `block` allows, ending with the checksum byte once every sample is
// produced. Returns the bytes used (the checksum byte included when it was reached). The state
// is complete when s.done; s.error then tells whether the checksum byte failed to match.
std::size_t decode_section(section_decoder_state& s, std::span<const std::uint8_t> block,
                           sample_output& out);

}  // namespace zta
