#pragma once
// Plain painting primitives shared by the custom controls: the controls compute what to paint as
// a list of filled rectangles (pure functions, tested without pixels) and a paint event only
// replays the list.
#include <cstdint>
#include <vector>

namespace zta::ui {

struct rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const rgb&) const = default;
};

inline constexpr rgb colour_black{0, 0, 0};
inline constexpr rgb colour_white{255, 255, 255};
inline constexpr rgb colour_gray{128, 128, 128};
inline constexpr rgb colour_light_gray{192, 192, 192};

// A filled rectangle in client pixels: columns [x, x + w), rows [y, y + h).
struct fill_rect {
  int x = 0, y = 0, w = 0, h = 0;
  rgb colour;
  bool operator==(const fill_rect&) const = default;
};

// A horizontal span of columns [left, right); empty when right <= left.
struct column_span {
  int left = 0, right = 0;
  bool empty() const { return right <= left; }
  bool operator==(const column_span&) const = default;
};

using paint_list = std::vector<fill_rect>;

}  // namespace zta::ui
