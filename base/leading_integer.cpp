#include "base/leading_integer.hpp"

#include <algorithm>

namespace zta {

std::int32_t leading_integer(std::string_view text) {
  std::size_t i = 0;
  auto space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (i < text.size() && space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::int64_t limit = std::int64_t{1} << 31;
  std::int64_t n = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    n = std::min(n * 10 + (text[i] - '0'), limit);
  }
  if (negative) return static_cast<std::int32_t>(-n);
  return static_cast<std::int32_t>(std::min(n, limit - 1));
}

}  // namespace zta
