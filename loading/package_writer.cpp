#include "loading/package_writer.hpp"

#include <algorithm>
#include <array>

#include "loading/predictor.hpp"
#include "loading/section_decoder.hpp"

namespace zta {

namespace {

class bit_writer {
 public:
  explicit bit_writer(std::vector<std::uint8_t>& out) : out_(out) {}
  void put(std::uint32_t value, std::uint32_t width) {
    if (width == 0) return;
    acc_ = (acc_ << width) | value;
    bits_ += width;
    while (bits_ >= 8) {
      bits_ -= 8;
      out_.push_back(static_cast<std::uint8_t>(acc_ >> bits_));
    }
    acc_ &= (std::uint64_t{1} << bits_) - 1;
  }
  void finish() {
    if (bits_ != 0) out_.push_back(static_cast<std::uint8_t>(acc_ << (8 - bits_)));
    bits_ = 0;
    acc_ = 0;
  }

 private:
  std::vector<std::uint8_t>& out_;
  std::uint64_t acc_ = 0;
  std::uint32_t bits_ = 0;
};

// Smallest w whose codes c - 2^w/2 cover e (0 only for e = 0).
std::uint32_t width_for(std::int32_t e) {
  std::uint32_t w = 0;
  while (w < 16) {
    std::int32_t half = static_cast<std::int32_t>((1u << w) >> 1);
    std::int32_t lo = -half;
    std::int32_t hi = static_cast<std::int32_t>((1u << w) - 1) - half;
    if (e >= lo && e <= hi) return w;
    ++w;
  }
  return w;
}

std::int32_t target_of(std::int16_t x, bool twelve_bit) {
  std::int32_t t = twelve_bit ? (std::int32_t{x} + 8) >> 4 : (std::int32_t{x} + 64) >> 7;
  std::int32_t top = twelve_bit ? 2047 : 127;
  return std::clamp(t, -top - 1, top);
}

// The residual that lands the wrapped new value on t, of the smallest magnitude.
std::int32_t residual_to(std::int32_t t, std::int32_t p, bool twelve_bit) {
  std::int64_t d = std::int64_t{t} - p;
  return twelve_bit ? std::int32_t{wrap16(d)} : std::int32_t{wrap8(d)};
}

constexpr std::int32_t max_residual = 16383;  // what width 15 reaches
constexpr std::int32_t min_residual = -16384;

}  // namespace

encoded_sound encode_sound(std::span<const std::int16_t> pcm, bool twelve_bit) {
  encoded_sound out;
  out.reconstruction.reserve(pcm.size());
  out.code.reserve(pcm.size() + 16);
  bit_writer bits(out.code);
  predictor pr;
  std::array<std::int32_t, 8> e{};
  std::array<std::int32_t, 8> t{};
  for (std::size_t start = 0; start < pcm.size(); start += 8) {
    std::size_t n = std::min<std::size_t>(8, pcm.size() - start);
    for (std::size_t i = 0; i < n; ++i) {
      t[i] = target_of(pcm[start + i], twelve_bit);
      if (!twelve_bit && (pcm[start + i] > 16320 || pcm[start + i] < -16416)) ++out.clamped;
    }
    // Exact residuals first; only when one needs more than 15 bits is the group clamped.
    predictor trial = pr;
    std::uint32_t need = 0;
    for (std::size_t i = 0; i < n; ++i) {
      e[i] = residual_to(t[i], trial.predict(), twelve_bit);
      need = std::max(need, width_for(e[i]));
      trial.step(e[i], twelve_bit);
    }
    if (need > 15) {
      need = 15;
      trial = pr;
      for (std::size_t i = 0; i < n; ++i) {
        std::int32_t exact = residual_to(t[i], trial.predict(), twelve_bit);
        e[i] = std::clamp(exact, min_residual, max_residual);
        if (e[i] != exact) ++out.clamped;
        trial.step(e[i], twelve_bit);
      }
    }
    // Replay on the real predictor to collect the reconstruction.
    bits.put(need, 4);
    const std::int32_t half = static_cast<std::int32_t>((1u << need) >> 1);
    for (std::size_t i = 0; i < n; ++i) {
      bits.put(static_cast<std::uint32_t>(e[i] + half), need);
      pr.step(e[i], twelve_bit);
      out.reconstruction.push_back(pr.output(twelve_bit));
    }
  }
  bits.finish();
  std::uint32_t sum = section_checksum_seed;
  for (std::uint8_t b : out.code) sum += b;
  out.checksum = static_cast<std::uint8_t>(sum);
  return out;
}

std::vector<std::uint8_t> build_content(const package_build& b) {
  std::vector<std::uint8_t> content;
  byte_writer out(content);
  if (b.has_list) {
    std::size_t count = std::min<std::size_t>(b.records.size(), 127);
    out.i8(static_cast<std::int8_t>(count));
    for (std::size_t i = 0; i < count; ++i) write_package_record(out, b.records[i], b.version);
  }
  if (b.notice) write_package_notice(out, *b.notice);
  return content;
}

std::vector<std::uint8_t> build_package_head(const package_build& b) {
  std::vector<std::uint8_t> content = build_content(b);
  std::size_t customers = std::min<std::size_t>(b.customers.size(), max_addressee_list);
  package_header h;
  h.version = b.version;
  h.content_length = static_cast<std::int32_t>(content.size());
  h.addressee = customers != 0 ? -static_cast<std::int32_t>(customers) : b.addressee;
  h.flags = (b.has_list ? section_list : 0) | (b.notice ? section_notice : 0);
  h.checksum = content_checksum(content);
  std::vector<std::uint8_t> head(package_header_size);
  encode_package_header(h, std::span<std::uint8_t, package_header_size>(head.data(), head.size()));
  byte_writer out(head);
  for (std::size_t i = 0; i < customers; ++i) out.i32(b.customers[i]);
  out.bytes(content);
  return head;
}

void write_section_header(std::vector<std::uint8_t>& out, std::int32_t id_stamp, std::int32_t k,
                          std::int32_t piece_offset) {
  byte_writer w(out);
  w.i32(id_stamp);
  w.i32(k);
  w.i32(piece_offset);
}

std::vector<std::uint8_t> build_package_file(const package_build& b,
                                             const std::vector<package_sound>& sounds) {
  std::vector<std::uint8_t> file = build_package_head(b);
  for (const package_sound& s : sounds) {
    write_section_header(file, s.id_stamp, s.k, 0);
    file.insert(file.end(), s.code.code.begin(), s.code.code.end());
    file.push_back(s.code.checksum);
  }
  return file;
}

std::vector<disk_image> build_disk_set(const package_build& b,
                                       const std::vector<package_sound>& sounds,
                                       std::size_t disk_size) {
  constexpr std::size_t max_pieces = 26;  // piece letters a..z
  std::vector<std::uint8_t> head = build_package_head(b);
  if (disk_size < head.size() + section_header_size + 1) return {};
  std::vector<disk_image> disks;
  auto new_disk = [&] {
    disks.push_back(disk_image{head, {}});
    return disk_size - head.size();
  };
  std::size_t room = new_disk();
  for (const package_sound& s : sounds) {
    const std::size_t total = s.code.code.size() + 1;  // the checksum byte ends the last piece
    std::size_t sent = 0;
    while (sent < total) {
      if (room < section_header_size + 1 || disks.back().pieces.size() == max_pieces) {
        room = new_disk();
      }
      std::size_t n = std::min(total - sent, room - section_header_size);
      std::vector<std::uint8_t> piece;
      piece.reserve(section_header_size + n);
      std::size_t offset = std::min(sent, s.code.code.size());
      write_section_header(piece, s.id_stamp, s.k, static_cast<std::int32_t>(offset));
      for (std::size_t i = sent; i < sent + n; ++i) {
        piece.push_back(i < s.code.code.size() ? s.code.code[i] : s.code.checksum);
      }
      sent += n;
      room -= section_header_size + n;
      disks.back().pieces.push_back(std::move(piece));
    }
  }
  return disks;
}

}  // namespace zta
