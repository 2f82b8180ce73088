#include "announcements/calendar.hpp"

#include <cstdio>

namespace zta {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (month 1..12).
long long days_from_civil(long long y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153LL * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civil_from_days(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

long long floor_div(long long a, long long b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

calendar_fields break_moment(std::int32_t moment) {
  const long long t = moment;
  const long long days = floor_div(t, 86400);
  const long long secs = t - days * 86400;
  calendar_fields f;
  civil_from_days(days, f.year, f.month, f.day);
  f.hour = static_cast<int>(secs / 3600);
  f.minute = static_cast<int>(secs % 3600 / 60);
  f.second = static_cast<int>(secs % 60);
  f.weekday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday (4)
  return f;
}

std::optional<std::int32_t> make_moment(const calendar_fields& f) {
  // Fields can be anything a parser accumulated; keep the arithmetic far from overflow.
  constexpr long long limit = 1LL << 40;
  auto out_of_range = [](long long v) { return v > limit || v < -limit; };
  if (out_of_range(f.year) || out_of_range(f.month) || out_of_range(f.day) ||
      out_of_range(f.hour) || out_of_range(f.minute) || out_of_range(f.second)) {
    return std::nullopt;
  }
  long long month0 = static_cast<long long>(f.month) - 1;
  long long year = f.year + floor_div(month0, 12);
  month0 -= floor_div(month0, 12) * 12;
  if (year > 100000 || year < -100000) return std::nullopt;
  const long long days = days_from_civil(year, static_cast<int>(month0 + 1), 1) + f.day - 1;
  const long long t = days * 86400 + static_cast<long long>(f.hour) * 3600 +
                      static_cast<long long>(f.minute) * 60 + f.second;
  if (t < INT32_MIN || t > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(t);
}

moment_chars moment_text_chars(std::int32_t moment) {
  const calendar_fields f = break_moment(moment);
  moment_chars text{};
  std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day,
                f.hour, f.minute, f.second);
  return text;
}

std::string moment_text(std::int32_t moment) {
  return moment_text_chars(moment).data();
}

}  // namespace zta
