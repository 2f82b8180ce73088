#pragma once
// What the editing controls of the Announcement Control dialog show for one announcement, and how
// what the user did to them goes back into the record. A text is read back only when the user
// typed into it since it was filled (its modified flag); the check boxes always are.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "announcements/ann_blk.hpp"
#include "base/date_order.hpp"

namespace zta {

inline constexpr std::size_t name_edit_limit = 30;   // characters of the name edit stored
inline constexpr std::size_t field_edit_limit = 18;  // of each date, time and minutes edit
// The settings file gives a script 16 bits of length: no more is ever stored.
inline constexpr std::size_t script_edit_limit = max_script_length;
inline constexpr std::int16_t default_every_minutes = 60;

// The weekday boxes in the order shown (Mon .. Sun) and their bits of `weekdays`.
inline constexpr std::array<std::uint8_t, 7> weekday_box_bits = {0x02, 0x04, 0x08, 0x10,
                                                                 0x20, 0x40, 0x01};

struct text_field {
  std::string text;  // UTF-8, as shown
  bool modified = false;
};

struct edit_fields {
  text_field name;
  text_field commence_date, commence_time, expiry_date, expiry_time;
  text_field day_from, day_to;
  text_field minutes;  // the N of "Autoplay every (minutes)"
  text_field script;   // lines end in '\n'
  std::uint8_t weekdays = 0;
  bool every = false;     // "Autoplay every (minutes)"
  bool sequence = false;  // "Autoplay in Sequence"
  bool chimes = false, confirm = false, manual = false;
};

// The controls filled from `a` (nothing modified).
edit_fields shown_fields(const ann_blk& a, date_order order);
// Stores the fields into `a`: the modified texts (name cut to 30 characters, dates then times,
// at most 18 characters of each), the weekdays, the autoplay choice and the three flags always.
void store_fields(ann_blk& a, const edit_fields& f, date_order order);

// The number at the start of at most 18 characters of the minutes edit (0 without digits), kept
// inside what `autoplay` can hold.
std::int16_t autoplay_minutes(std::string_view text);

// The three-way autoplay choice, written into the record at once by a click on either box. The
// boxes then show: every = autoplay > 0 (with the minutes edit enabled), sequence = autoplay < 0.
// `fill_minutes` is true when the minutes edit must show "60".
struct autoplay_click {
  bool fill_minutes = false;
};
autoplay_click click_every(ann_blk& a, std::string_view minutes_text);
autoplay_click click_sequence(ann_blk& a);

// Scripts: a typed line end is stored as CR LF (what other machines reading the listing and the
// settings file expect) and shown as LF.
std::string script_for_edit(std::string_view stored);
std::string script_to_store(std::string_view typed);
// The typed text cut, at a character boundary, so that its stored form fits the limit.
std::string script_within_limit(std::string_view typed, std::size_t limit = script_edit_limit);

}  // namespace zta
