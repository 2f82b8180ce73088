#include "announcements/text_encoding.hpp"

#include <cstdint>

namespace zta {
namespace {

// Windows-1252 code points of 0x80..0x9F; 0 marks the five unassigned bytes.
constexpr char16_t cp1252_high[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Length of the valid UTF-8 sequence starting at i, or 0.
std::size_t sequence_length(std::string_view s, std::size_t i) {
  const auto b0 = static_cast<std::uint8_t>(s[i]);
  if (b0 < 0x80) return 1;
  std::size_t n;
  char32_t min;
  char32_t c;
  if ((b0 & 0xE0) == 0xC0) {
    n = 2, min = 0x80, c = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    n = 3, min = 0x800, c = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    n = 4, min = 0x10000, c = b0 & 0x07;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    const auto b = static_cast<std::uint8_t>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return n;
}

// The code points of stored text: UTF-8 where it is valid, else Windows-1252.
std::u32string code_points(std::string_view bytes) {
  std::u32string out;
  if (!is_valid_utf8(bytes)) {
    for (char ch : bytes) {
      const auto b = static_cast<std::uint8_t>(ch);
      out += b >= 0x80 && b < 0xA0 && cp1252_high[b - 0x80] != 0 ? cp1252_high[b - 0x80]
                                                                 : static_cast<char32_t>(b);
    }
    return out;
  }
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = sequence_length(bytes, i);
    const auto b0 = static_cast<std::uint8_t>(bytes[i]);
    char32_t c = n == 1 ? b0 : n == 2 ? b0 & 0x1F : n == 3 ? b0 & 0x0F : b0 & 0x07;
    for (std::size_t k = 1; k < n; ++k)
      c = (c << 6) | (static_cast<std::uint8_t>(bytes[i + k]) & 0x3F);
    out += c;
    i += n;
  }
  return out;
}

// Lower case of the letters Windows-1252 has; everything else as it is.
char32_t fold_case(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // À..Þ, not ×
  switch (c) {
    case 0x0160:  // Š
    case 0x0152:  // Œ
    case 0x017D:  // Ž
      return c + 1;
    case 0x0178:  // Ÿ
      return 0xFF;
    default:
      return c;
  }
}

}  // namespace

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  const std::u32string x = code_points(a);
  const std::u32string y = code_points(b);
  if (x.size() != y.size()) return false;
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (fold_case(x[i]) != fold_case(y[i])) return false;
  }
  return true;
}

bool is_valid_utf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = sequence_length(bytes, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string display_text(std::string_view bytes) {
  if (is_valid_utf8(bytes)) return std::string(bytes);
  std::string out;
  for (char ch : bytes) {
    const auto b = static_cast<std::uint8_t>(ch);
    if (b < 0x80) {
      out += ch;
    } else if (b < 0xA0) {
      const char16_t c = cp1252_high[b - 0x80];
      append_utf8(out, c != 0 ? c : 0xFFFD);
    } else {
      append_utf8(out, b);
    }
  }
  return out;
}

std::string cut_at_character(std::string_view utf8, std::size_t max_bytes) {
  if (utf8.size() <= max_bytes) return std::string(utf8);
  std::size_t n = max_bytes;
  while (n > 0 && (static_cast<std::uint8_t>(utf8[n]) & 0xC0) == 0x80) --n;
  return std::string(utf8.substr(0, n));
}

}  // namespace zta
