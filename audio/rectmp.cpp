#include "audio/rectmp.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <iterator>

#include "audio/sample_bytes.hpp"
#include "base/file_io.hpp"

namespace zta {

namespace {

// Approximates 10 log10(index) + 1.
constexpr int loudness_table[32] = {0,  1,  4,  6,  7,  8,  9,  9,  10, 10, 11, 11, 12, 12, 12, 13,
                                    13, 13, 13, 14, 14, 14, 14, 14, 15, 15, 15, 15, 15, 15, 16, 16};

// G[n] ~ 1024 x 10^(n/20) for the n the gain rule can reach, -16 .. 18.
constexpr int gain_min_db = -16;
constexpr int gain_table[] = {162,  182,  204,  229,  257,  288,  324,  363,  407,
                              457,  513,  576,  646,  725,  813,  913,  1024, 1149,
                              1289, 1447, 1623, 1822, 2044, 2294, 2574, 2888, 3241,
                              3636, 4080, 4579, 5138, 5765, 6469, 7259, 8145};
constexpr int gain_max_db = gain_min_db + static_cast<int>(std::size(gain_table)) - 1;

int gain_for_db(int n) {
  if (n < gain_min_db) n = gain_min_db;
  if (n > gain_max_db) n = gain_max_db;
  return gain_table[n - gain_min_db];
}

// Sum of (y >> 6)^2 over the block, in 64 bits: a long block of loud samples would wrap a 32-bit
// sum. Runs of 64 samples are summed in 32 bits (at most 64 x 512^2) in a loop of fixed length
// the compiler vectorises.
std::uint64_t block_energy(const std::int16_t* y, std::int32_t n) {
  std::uint64_t energy = 0;
  std::int32_t k = 0;
  for (; k + 64 <= n; k += 64) {
    std::uint32_t run = 0;
    for (int j = 0; j < 64; ++j) {
      const std::int32_t e = y[k + j] >> 6;
      run += static_cast<std::uint32_t>(e * e);
    }
    energy += run;
  }
  for (; k < n; ++k) {
    const std::int32_t e = y[k] >> 6;
    energy += static_cast<std::uint64_t>(e * e);
  }
  return energy;
}

}  // namespace

int block_loudness(std::uint32_t m) {
  int loudness = 0;
  while (m >= 32) {
    loudness += 3;
    m >>= 1;
  }
  return loudness + loudness_table[m];
}

int normalising_gain(std::span<const std::uint16_t, loudness_levels> h) {
  std::uint32_t total = 0;
  for (auto v : h) total += v;
  const std::uint32_t t1 = (total + 8) >> 4;
  if (t1 < 1) return 1024;

  // The loudness above which the loudest sixteenth of the blocks lie.
  std::uint32_t c = 0;
  int i = 127;
  while (i > 12 && c < t1) c += h[static_cast<std::size_t>(i--)];
  // The blocks within about 12 dB of it: the active speech.
  i -= 12;
  std::uint32_t s = 0;
  for (int k = i; k < loudness_levels; ++k) s += h[static_cast<std::size_t>(k)];
  const std::uint32_t t2 = (s + 8) >> 3;

  c = 0;
  int j = 127;
  while (j > 20 && c < t2) {
    c = c + h[static_cast<std::size_t>(j)] + (c >> 1);
    --j;
  }
  return gain_for_db(38 - j);
}

rectmp::rectmp() {
  char name[] = "./recXXXXXX";
  const int fd = mkstemp(name);
  if (fd < 0) return;
  path_ = name;
  file_ = fdopen(fd, "w+b");
  if (file_ == nullptr) {
    ::close(fd);
    ::unlink(path_.c_str());
    path_.clear();
    return;
  }
  use_large_buffer(file_, file_buffer_);
}

rectmp::~rectmp() {
  if (file_ != nullptr) {
    std::fclose(file_);
    ::unlink(path_.c_str());
  }
}

int rectmp::append_block(std::int16_t* samples, std::int32_t byte_count) {
  if (byte_count <= 0 || samples == nullptr) return 0;
  const std::int32_t n = byte_count / 2;
  // The accumulator stays within -262144 .. 262143 (h - (dc >> 4) maps that range into itself),
  // so y = h - (dc >> 4) always fits 16 bits and the truncation the filter is defined with never
  // changes a value. That lets the next accumulator be (dc + h) - (dc >> 4), two dependent
  // operations per sample instead of four: this loop carries its state from sample to sample.
  std::int32_t dc = dc_;
  for (std::int32_t k = 0; k < n; ++k) {
    const std::int32_t h = samples[k] >> 1;
    samples[k] = static_cast<std::int16_t>(h - (dc >> 4));
    dc = (dc + h) - (dc >> 4);
  }
  dc_ = dc;
  const std::uint64_t energy = block_energy(samples, n);
  // A block of a single byte (the odd end of a 16-bit file) holds no sample: silence.
  const auto m = n > 0 ? static_cast<std::uint32_t>(energy / static_cast<std::uint64_t>(n)) : 0u;
  const int loudness = block_loudness(m);
  // Saturates rather than wraps, so a very long import keeps a sane histogram.
  auto& bin = histogram_[static_cast<std::size_t>(loudness)];
  if (bin != 0xFFFF) ++bin;
  if (file_ != nullptr) {
    swap_le_samples(samples, static_cast<std::size_t>(n));
    std::fwrite(samples, 1, static_cast<std::size_t>(byte_count), file_);
    swap_le_samples(samples, static_cast<std::size_t>(n));
  }
  return static_cast<std::int8_t>(loudness - 38);
}

void rectmp::rewind() {
  give_back_ = false;
  read_ = 0;
  given_back_ = 0;
  if (file_ != nullptr) {
    std::fflush(file_);
    std::fseek(file_, 0, SEEK_SET);
  }
}

void rectmp::give_back_what_is_read() {
  give_back_ = file_ != nullptr;
}

// In whole stretches at least one stretch behind what was fetched, so well behind the stream's
// buffer: those bytes are never read again. Where holes cannot be punched (another system or
// file system) the room goes back with the file, as before.
void rectmp::give_back_room() {
#if defined(__linux__) && defined(FALLOC_FL_PUNCH_HOLE)
  const std::int64_t upto = (read_ - give_back_stretch) / give_back_stretch * give_back_stretch;
  if (::fallocate(::fileno(file_), FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE,
                  static_cast<off_t>(given_back_), static_cast<off_t>(upto - given_back_)) == 0) {
    given_back_ = upto;
    return;
  }
#endif
  give_back_ = false;
}

std::int32_t rectmp::fetch_block(void* buffer, std::int32_t byte_count) {
  if (file_ == nullptr || buffer == nullptr || byte_count <= 0) return 0;
  const std::size_t r = std::fread(buffer, 1, static_cast<std::size_t>(byte_count), file_);
  if (std::ferror(file_) || r > static_cast<std::size_t>(byte_count)) return 0;
  swap_le_samples(static_cast<std::int16_t*>(buffer), r / 2);
  read_ += static_cast<std::int64_t>(r);
  if (give_back_ && read_ - given_back_ >= 2 * give_back_stretch) give_back_room();
  return static_cast<std::int32_t>(r);
}

}  // namespace zta
