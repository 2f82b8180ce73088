#pragma once
// Builds WAV files byte by byte for the tests, including damaged ones.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/byte_codec.hpp"

namespace zta::test {

class wav_builder {
 public:
  // Starts with a RIFF/WAVE header whose size finish() fills in.
  wav_builder() { raw("RIFF"), u32(0), raw("WAVE"); }

  wav_builder& raw(const std::string& s) {
    bytes.insert(bytes.end(), s.begin(), s.end());
    return *this;
  }
  wav_builder& u16(std::uint16_t v) {
    byte_writer(bytes).u16(v);
    return *this;
  }
  wav_builder& u32(std::uint32_t v) {
    byte_writer(bytes).u32(v);
    return *this;
  }
  // A chunk with the given body; the size field says `size` when given, else the body's size.
  // An odd body is followed by a pad byte.
  wav_builder& chunk(const std::string& id, const std::vector<std::uint8_t>& body,
                     std::int64_t size = -1) {
    raw(id);
    u32(static_cast<std::uint32_t>(size < 0 ? static_cast<std::int64_t>(body.size()) : size));
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) bytes.push_back(0);
    return *this;
  }
  wav_builder& fmt(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                   std::uint16_t bits, std::size_t extra = 0) {
    std::vector<std::uint8_t> b;
    byte_writer w(b);
    const std::uint16_t align = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
    w.u16(tag), w.u16(channels), w.u32(rate), w.u32(rate * align), w.u16(align), w.u16(bits);
    w.zeros(extra);
    return chunk("fmt ", b);
  }
  wav_builder& data16(const std::vector<std::int16_t>& samples) {
    std::vector<std::uint8_t> b;
    byte_writer w(b);
    for (auto s : samples) w.i16(s);
    return chunk("data", b);
  }
  std::vector<std::uint8_t> finish() {
    store_le(bytes.data() + 4, static_cast<std::uint32_t>(bytes.size() - 8));
    return bytes;
  }

  std::vector<std::uint8_t> bytes;
};

inline std::vector<std::uint8_t> pcm16_wav(std::uint32_t rate, std::uint16_t channels,
                                           const std::vector<std::int16_t>& interleaved) {
  return wav_builder().fmt(1, channels, rate, 16).data16(interleaved).finish();
}

inline std::vector<std::int16_t> sine(int n, double freq, double rate, double amplitude) {
  std::vector<std::int16_t> s(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    s[static_cast<std::size_t>(i)] =
        static_cast<std::int16_t>(std::lround(amplitude * std::sin(2 * M_PI * freq * i / rate)));
  }
  return s;
}

}  // namespace zta::test
