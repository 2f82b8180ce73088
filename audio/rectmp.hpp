#pragma once
// The first stage of every recording and import: removes the DC offset and the lowest
// frequencies, halves the level, measures each block's loudness into a histogram, and appends the
// samples to a temporary file "rec..." in the current directory, which the processing reads back.
#include <array>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "audio/sample_sink.hpp"

namespace zta {

inline constexpr int loudness_levels = 128;
using loudness_histogram = std::array<std::uint16_t, loudness_levels>;

// Loudness of a block from its mean energy m, in decibel-like units (0 .. 55).
int block_loudness(std::uint32_t mean_energy);
// Q10 gain (1024 = unity) that brings the loud end of the speech to the meter's 0, from a
// histogram of block loudness; 1024 for an empty histogram, otherwise 162 .. 8145.
int normalising_gain(std::span<const std::uint16_t, loudness_levels> h);

class rectmp final : public sample_sink {
 public:
  rectmp();  // creates the temporary file; is_open() tells whether that worked
  ~rectmp() override;
  rectmp(const rectmp&) = delete;
  rectmp& operator=(const rectmp&) = delete;

  bool is_open() const { return file_ != nullptr; }
  const std::string& path() const { return path_; }
  const loudness_histogram& histogram() const { return histogram_; }

  // Filters the samples in place, counts the block's loudness and appends all its bytes.
  // Returns loudness - 38 (0 on the meter is loudness 38); 0 for a byte count of 0 or less.
  int append_block(std::int16_t* samples, std::int32_t byte_count) override;
  void rewind();
  // Bytes read into buffer; 0 when the file is not open or cannot be read.
  std::int32_t fetch_block(void* buffer, std::int32_t byte_count);
  // For the last reader (the processing): from now on the file gives back the room of what has
  // been read, in stretches of give_back_stretch, so the clip written meanwhile reuses those
  // pages of the system's file cache instead of needing as many again. After a rewind what was
  // given back reads as silence; rewind ends the giving back.
  void give_back_what_is_read();
  static constexpr std::int64_t give_back_stretch = std::int64_t{4} << 20;
  int normalising_gain() const { return zta::normalising_gain(histogram_); }

 private:
  void give_back_room();

  std::string path_;
  std::vector<char> file_buffer_;  // outlives file_
  std::FILE* file_ = nullptr;
  loudness_histogram histogram_{};
  std::int32_t dc_ = 0;
  bool give_back_ = false;
  std::int64_t read_ = 0;        // bytes fetched since the rewind
  std::int64_t given_back_ = 0;  // bytes from the start whose room went back
};

}  // namespace zta
