#include "loading/section_decoder.hpp"

#include <array>
#include <limits>

#include "loading/predictor.hpp"

namespace zta {

void clip_file_output::write(std::span<const std::int16_t> samples) {
  std::array<std::uint8_t, sample_buffer_size * 2> bytes;
  std::size_t n = 0;
  for (std::int16_t v : samples) {
    auto u = static_cast<std::uint16_t>(v);
    bytes[n++] = static_cast<std::uint8_t>(u);
    bytes[n++] = static_cast<std::uint8_t>(u >> 8);
  }
  if (file_ == nullptr || std::fwrite(bytes.data(), 1, n, file_) != n) failed_ = true;
}

bool start_section(section_decoder_state& s, std::int32_t k) {
  s = section_decoder_state{};
  if (k == std::numeric_limits<std::int32_t>::min()) {
    s.done = true;
    s.error = true;
    return false;
  }
  s.to_produce = k < 0 ? -k : k;
  s.twelve_bit = k < 0;
  return true;
}

namespace {

// The decoder's working copy of the state, in registers while a block is decoded.
struct cursor {
  std::uint32_t acc;
  std::uint32_t bits;
  std::uint32_t group_left;
  std::uint32_t width;
  std::uint32_t checksum;
  std::int32_t to_produce;
  std::uint32_t consumed;  // wraps instead of overflowing on an absurdly long section
  predictor pr;

  void take(std::uint8_t b) {
    checksum += b;
    acc = (acc << 8) | b;
    bits += 8;
    ++consumed;
  }
  std::uint32_t bits_of(std::uint32_t w) {
    bits -= w;
    return (acc >> bits) & ((1u << w) - 1u);
  }
};

}  // namespace

std::size_t decode_section(section_decoder_state& s, std::span<const std::uint8_t> block,
                           sample_output& out) {
  if (s.done) return 0;
  cursor c{s.accumulator,
           s.bits,
           s.group_left,
           s.width,
           s.checksum,
           s.to_produce,
           static_cast<std::uint32_t>(s.consumed),
           {s.y1, s.y2, s.a1, s.a2}};
  const bool twelve = s.twelve_bit;
  const std::uint8_t* p = block.data();
  const std::uint8_t* const end = p + block.size();
  std::array<std::int16_t, sample_buffer_size> buf;
  std::size_t filled = 0;

  auto flush = [&] {
    if (filled != 0) out.write(std::span<const std::int16_t>(buf.data(), filled));
    filled = 0;
  };
  // A whole group needs at most 4 + 8 x 15 bits, so 16 bytes are certainly enough.
  constexpr std::ptrdiff_t group_max_bytes = 16;

  while (c.to_produce > 0) {
    if (c.group_left == 0) {
      if (c.to_produce >= 8 && end - p >= group_max_bytes && buf.size() - filled >= 8) {
        // Fast path: a whole group with no bounds checks; same steps, same result.
        if (c.bits < 4) c.take(*p++);
        const std::uint32_t w = c.bits_of(4);
        const std::int32_t half = static_cast<std::int32_t>((1u << w) >> 1);
        for (int i = 0; i < 8; ++i) {
          while (c.bits < w) c.take(*p++);
          std::int32_t e = static_cast<std::int32_t>(c.bits_of(w)) - half;
          c.pr.step(e, twelve);
          buf[filled++] = c.pr.output(twelve);
        }
        c.width = w;
        c.to_produce -= 8;
        if (filled == buf.size()) flush();
        continue;
      }
      if (c.bits < 4) {
        if (p == end) break;
        c.take(*p++);
      }
      c.width = c.bits_of(4);
      c.group_left = 8;
    }
    bool starved = false;
    while (c.bits < c.width) {
      if (p == end) {
        starved = true;
        break;
      }
      c.take(*p++);
    }
    if (starved) break;
    {
      const std::int32_t half = static_cast<std::int32_t>((1u << c.width) >> 1);
      std::int32_t e = static_cast<std::int32_t>(c.bits_of(c.width)) - half;
      c.pr.step(e, twelve);
      buf[filled++] = c.pr.output(twelve);
      if (filled == buf.size()) flush();
      --c.to_produce;
      --c.group_left;
    }
  }
  // Every sample produced: the next byte, when the block has one, is the checksum byte.
  if (c.to_produce <= 0 && p != end) {
    s.error = static_cast<std::uint8_t>(c.checksum) != *p;
    s.done = true;
    ++p;
  }
  flush();
  s.accumulator = c.acc;
  s.bits = static_cast<std::uint8_t>(c.bits);
  s.group_left = static_cast<std::uint8_t>(c.group_left);
  s.width = static_cast<std::uint8_t>(c.width);
  s.checksum = static_cast<std::uint8_t>(c.checksum);
  s.to_produce = c.to_produce;
  s.consumed = static_cast<std::int32_t>(c.consumed);
  s.y1 = c.pr.y1;
  s.y2 = c.pr.y2;
  s.a1 = c.pr.a1;
  s.a2 = c.pr.a2;
  return static_cast<std::size_t>(p - block.data());
}

}  // namespace zta
