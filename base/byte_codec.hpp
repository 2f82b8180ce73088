#pragma once
// Little-endian field codecs for every stored form. Fixed blocks are read and written at their
// offsets with load_le/store_le; variable streams go through byte_reader/byte_writer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace zta {

template <typename T>
T load_le(const std::uint8_t* p) {
  static_assert(std::is_integral_v<T>);
  std::make_unsigned_t<T> v = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    v = static_cast<std::make_unsigned_t<T>>(
        v | (static_cast<std::make_unsigned_t<T>>(p[i]) << (8 * i)));
  }
  return static_cast<T>(v);
}

template <typename T>
void store_le(std::uint8_t* p, T value) {
  static_assert(std::is_integral_v<T>);
  auto v = static_cast<std::make_unsigned_t<T>>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Reads fields in order; a read past the end yields 0 and clears ok() for good.
class byte_reader {
 public:
  explicit byte_reader(std::span<const std::uint8_t> data) : data_(data) {}

  bool ok() const { return ok_; }
  std::size_t offset() const { return pos_; }
  std::size_t remaining() const { return data_.size() - pos_; }
  bool has(std::size_t n) const { return ok_ && remaining() >= n; }

  std::uint8_t u8() { return read<std::uint8_t>(); }
  std::int8_t i8() { return read<std::int8_t>(); }
  std::uint16_t u16() { return read<std::uint16_t>(); }
  std::int16_t i16() { return read<std::int16_t>(); }
  std::int32_t i32() { return read<std::int32_t>(); }
  std::uint32_t u32() { return read<std::uint32_t>(); }

  // Copies n bytes out; fails (and copies nothing) when fewer remain.
  bool bytes(void* out, std::size_t n) {
    if (!has(n)) return fail();
    if (n != 0) std::memcpy(out, data_.data() + pos_, n);
    pos_ += n;
    return true;
  }
  std::span<const std::uint8_t> take(std::size_t n) {
    if (!has(n)) {
      fail();
      return {};
    }
    auto s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
  }
  bool skip(std::size_t n) {
    if (!has(n)) return fail();
    pos_ += n;
    return true;
  }

 private:
  template <typename T>
  T read() {
    if (!has(sizeof(T))) {
      fail();
      return T{};
    }
    T v = load_le<T>(data_.data() + pos_);
    pos_ += sizeof(T);
    return v;
  }
  bool fail() {
    ok_ = false;
    pos_ = data_.size();
    return false;
  }

  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

class byte_writer {
 public:
  explicit byte_writer(std::vector<std::uint8_t>& out) : out_(out) {}
  void u8(std::uint8_t v) { put(v); }
  void i8(std::int8_t v) { put(v); }
  void u16(std::uint16_t v) { put(v); }
  void i16(std::int16_t v) { put(v); }
  void i32(std::int32_t v) { put(v); }
  void u32(std::uint32_t v) { put(v); }
  void bytes(const void* p, std::size_t n) {
    auto b = static_cast<const std::uint8_t*>(p);
    out_.insert(out_.end(), b, b + n);
  }
  void bytes(std::span<const std::uint8_t> s) { out_.insert(out_.end(), s.begin(), s.end()); }
  void zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }

 private:
  // Byte by byte into the vector: a stack array inserted by range lets GCC 12 see a false
  // overflow once this is inlined into the package writer's optimised build.
  template <typename T>
  void put(T v) {
    const auto u = static_cast<std::make_unsigned_t<T>>(v);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
      out_.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
    }
  }
  std::vector<std::uint8_t>& out_;
};

// A fixed NUL-terminated text field: the bytes up to the first NUL, at most the field's size - 1.
template <std::size_t N>
std::string_view field_text(const std::array<char, N>& field) {
  std::size_t n = 0;
  while (n + 1 < N && field[n] != '\0') ++n;
  return {field.data(), n};
}

// Stores text into a fixed field, cut to N - 1 bytes, NUL-padded.
template <std::size_t N>
void set_field_text(std::array<char, N>& field, std::string_view text) {
  field.fill('\0');
  std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
  if (n != 0) std::memcpy(field.data(), text.data(), n);
}

}  // namespace zta
