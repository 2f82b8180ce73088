#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zta {

// Broken-down time on the `now` scale (no zone: the moment is already local wall-clock time).
struct calendar_fields {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int weekday = 4;  // 0 = Sunday
};

calendar_fields break_moment(std::int32_t moment);
// The moment as "YYYY-MM-DD HH:MM:SS".
std::string moment_text(std::int32_t moment);
// The same text, NUL-terminated in a fixed buffer, for callers that print millions of them. Room
// for six fields of any int value: the text is never cut, whatever the compiler can prove.
using moment_chars = std::array<char, 72>;
moment_chars moment_text_chars(std::int32_t moment);
// Normalises out-of-range fields (month 13 is January of the next year, day 32 runs into the next
// month, ...) and fails when the result does not fit the signed 32-bit scale.
std::optional<std::int32_t> make_moment(const calendar_fields& f);

}  // namespace zta
