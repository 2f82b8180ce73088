#include "announcements/date_time_text.hpp"

#include <cstdio>

#include "announcements/ann_blk.hpp"
#include "announcements/calendar.hpp"

namespace zta {
namespace {

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}
bool is_letter(char c, char lower) {
  return c == lower || c == lower - 'a' + 'A';
}

// A field that takes digits: the first replaces its value, later ones shift it by ten.
struct digit_field {
  long long* value;
  bool started = false;
  void take(char c) {
    const int d = c - '0';
    if (!started) {
      *value = d;
      started = true;
    } else if (*value < 100000000000LL) {  // far beyond any calendar field; stops overflow
      *value = *value * 10 + d;
    }
  }
};

// Applies "pm"/"am" at position i of the text to the hour taken so far.
void apply_meridiem(std::string_view text, std::size_t i, long long& hour) {
  if (i + 1 >= text.size() || !is_letter(text[i + 1], 'm')) return;
  if (is_letter(text[i], 'p') && hour < 12) hour += 12;
  if (is_letter(text[i], 'a') && hour == 12) hour = 0;
}

int year_of(long long v) {
  if (v < 70) return static_cast<int>(2000 + v);
  if (v > 1899) return static_cast<int>(v);
  return static_cast<int>(1900 + v);
}

void store_if_valid(std::int32_t& moment, const calendar_fields& f) {
  if (auto m = make_moment(f)) moment = *m;
}

int clamp_field(long long v) {
  // make_moment refuses anything this far out; keep the narrowing harmless.
  if (v > (1LL << 40)) return 1 << 30;
  return static_cast<int>(v);
}

}  // namespace

std::string date_text(std::int32_t moment, date_order order) {
  if (moment == moment_immediate) return "IMMEDIATE";
  if (moment == moment_never) return "NEVER";
  const calendar_fields f = break_moment(moment);
  const int yy = ((f.year % 100) + 100) % 100;
  char buf[48];
  switch (order) {
    case date_order::day_month_year:
      std::snprintf(buf, sizeof buf, "%i/%i/%.2i", f.day, f.month, yy);
      break;
    case date_order::year_month_day:
      std::snprintf(buf, sizeof buf, "%.2i/%i/%.2i", yy, f.month, f.day);
      break;
    default:
      std::snprintf(buf, sizeof buf, "%i/%i/%.2i", f.month, f.day, yy);
      break;
  }
  return buf;
}

std::string time_text(std::int32_t moment) {
  if (moment == moment_immediate || moment == moment_never) return {};
  const calendar_fields f = break_moment(moment);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2i:%.2i:%.2i", f.hour, f.minute, f.second);
  return buf;
}

std::string day_time_text(std::int32_t seconds) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.2i:%.2i:%.2i", seconds / 3600, seconds % 3600 / 60,
                seconds % 60);
  return buf;
}

void parse_date(std::int32_t& moment, std::string_view text, date_order order) {
  const calendar_fields now = break_moment(moment);
  long long day = now.day, month = now.month, year = now.year;
  long long* fields[3];
  switch (order) {
    case date_order::day_month_year:
      fields[0] = &day, fields[1] = &month, fields[2] = &year;
      break;
    case date_order::year_month_day:
      fields[0] = &year, fields[1] = &month, fields[2] = &day;
      break;
    default:
      fields[0] = &month, fields[1] = &day, fields[2] = &year;
      break;
  }
  bool year_given = false;
  int field = 0;
  bool begun = false;
  digit_field current{fields[0]};
  for (char c : text) {
    if (!begun && (c == 'I' || c == 'i')) {
      moment = moment_immediate;
      return;
    }
    if (!begun && (c == 'N' || c == 'n')) {
      moment = moment_never;
      return;
    }
    if (c == '.' || c == '/' || c == ':' || c == '\\') {
      begun = true;
      // Digits after a third separator are ignored.
      ++field;
      current = digit_field{field < 3 ? fields[field] : nullptr};
    } else if (is_digit(c)) {
      begun = true;
      if (field < 3) {
        current.take(c);
        if (fields[field] == &year) year_given = true;
      }
    }
  }
  calendar_fields f = now;
  f.day = clamp_field(day);
  f.month = clamp_field(month);
  f.year = year_given ? year_of(year) : now.year;
  store_if_valid(moment, f);
}

void parse_time(std::int32_t& moment, std::string_view text) {
  const calendar_fields now = break_moment(moment);
  long long hour = now.hour, minute = now.minute, second = now.second;
  long long* fields[3] = {&hour, &minute, &second};
  int field = 0;
  digit_field current{fields[0]};
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' || c == ':' || c == '\\') {
      ++field;
      current = digit_field{field < 3 ? fields[field] : nullptr};
    } else if (is_digit(c)) {
      if (field >= 3) continue;
      if (!current.started) {
        if (field == 0) minute = second = 0;
        if (field == 1) second = 0;
      }
      current.take(c);
    } else {
      apply_meridiem(text, i, hour);
    }
  }
  calendar_fields f = now;
  f.hour = clamp_field(hour);
  f.minute = clamp_field(minute);
  f.second = clamp_field(second);
  store_if_valid(moment, f);
}

std::int32_t parse_day_time(std::string_view text) {
  long long hour = 0, minute = 0, second = 0;
  long long* fields[3] = {&hour, &minute, &second};
  int field = 0;
  digit_field current{fields[0]};
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.' || c == ':') {
      ++field;
      current = digit_field{field < 3 ? fields[field] : nullptr};
    } else if (is_digit(c)) {
      if (field < 3) current.take(c);
    } else {
      apply_meridiem(text, i, hour);
    }
  }
  const long long s = hour * 3600 + minute * 60 + second;
  if (s > INT32_MAX) return INT32_MAX;
  return static_cast<std::int32_t>(s);
}

}  // namespace zta
