#include "announcements/edit_fields.hpp"

#include <algorithm>
#include <limits>

#include "announcements/date_time_text.hpp"
#include "announcements/text_encoding.hpp"
#include "base/leading_integer.hpp"

namespace zta {

namespace {

std::string first_characters(std::string_view text, std::size_t limit) {
  return cut_at_character(text, limit);
}

text_field shown(std::string text) {
  return text_field{std::move(text), false};
}

}  // namespace

edit_fields shown_fields(const ann_blk& a, date_order order) {
  edit_fields f;
  f.name = shown(display_text(a.name_text()));
  f.commence_date = shown(date_text(a.commence, order));
  f.commence_time = shown(time_text(a.commence));
  f.expiry_date = shown(date_text(a.expiry, order));
  f.expiry_time = shown(time_text(a.expiry));
  f.day_from = shown(day_time_text(a.day_from));
  f.day_to = shown(day_time_text(a.day_to));
  f.every = a.autoplay >= 1;
  f.minutes = shown(f.every ? std::to_string(a.autoplay) : std::string());
  f.sequence = a.autoplay < 0;
  f.script = shown(script_for_edit(display_text(a.script)));
  f.weekdays = a.weekdays;
  f.chimes = a.chimes != 0;
  f.confirm = a.confirm != 0;
  f.manual = a.manual != 0;
  return f;
}

void store_fields(ann_blk& a, const edit_fields& f, date_order order) {
  if (f.name.modified) a.set_name(first_characters(f.name.text, name_edit_limit));
  // Dates before times, so a date and a time typed together for one moment both take effect.
  if (f.commence_date.modified)
    parse_date(a.commence, first_characters(f.commence_date.text, field_edit_limit), order);
  if (f.commence_time.modified)
    parse_time(a.commence, first_characters(f.commence_time.text, field_edit_limit));
  if (f.expiry_date.modified)
    parse_date(a.expiry, first_characters(f.expiry_date.text, field_edit_limit), order);
  if (f.expiry_time.modified)
    parse_time(a.expiry, first_characters(f.expiry_time.text, field_edit_limit));
  if (f.day_from.modified)
    a.day_from = parse_day_time(first_characters(f.day_from.text, field_edit_limit));
  if (f.day_to.modified)
    a.day_to = parse_day_time(first_characters(f.day_to.text, field_edit_limit));
  a.weekdays = static_cast<std::uint8_t>(f.weekdays & every_day);
  if (f.every)
    a.autoplay = autoplay_minutes(f.minutes.text);
  else
    a.autoplay = f.sequence ? -1 : 0;
  a.chimes = f.chimes ? 1 : 0;
  a.confirm = f.confirm ? 1 : 0;
  a.manual = f.manual ? 1 : 0;
  if (f.script.modified) a.script = script_to_store(script_within_limit(f.script.text));
}

std::int16_t autoplay_minutes(std::string_view text) {
  const std::int32_t n = leading_integer(text.substr(0, std::min(text.size(), field_edit_limit)));
  return static_cast<std::int16_t>(std::clamp<std::int32_t>(
      n, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

autoplay_click click_every(ann_blk& a, std::string_view minutes_text) {
  if (a.autoplay > 0) {
    a.autoplay = 0;
    return {};
  }
  const std::int16_t n = autoplay_minutes(minutes_text);
  if (n <= 0) {
    a.autoplay = default_every_minutes;
    return {true};
  }
  a.autoplay = n;
  return {};
}

autoplay_click click_sequence(ann_blk& a) {
  a.autoplay = a.autoplay < 0 ? 0 : -1;
  return {};
}

std::string script_for_edit(std::string_view stored) {
  std::string out;
  out.reserve(stored.size());
  for (std::size_t i = 0; i < stored.size(); ++i) {
    if (stored[i] == '\r' && i + 1 < stored.size() && stored[i + 1] == '\n') continue;
    out += stored[i];
  }
  return out;
}

std::string script_to_store(std::string_view typed) {
  std::string out;
  out.reserve(typed.size() + typed.size() / 16);
  for (char c : typed) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string script_within_limit(std::string_view typed, std::size_t limit) {
  std::size_t stored = 0;
  std::size_t n = 0;
  while (n < typed.size()) {
    // A whole character (and a line end with its CR) or nothing.
    std::size_t len = 1;
    while (n + len < typed.size() && (static_cast<std::uint8_t>(typed[n + len]) & 0xC0) == 0x80)
      ++len;
    const std::size_t cost = typed[n] == '\n' ? 2 : len;
    if (stored + cost > limit) break;
    stored += cost;
    n += len;
  }
  return std::string(typed.substr(0, n));
}

}  // namespace zta
