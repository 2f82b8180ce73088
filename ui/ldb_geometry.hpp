#pragma once
// Geometry of the percentage slider LDBEdit: a 28-pixel value box at the left, the bar in the rest.
#include <string_view>

#include "ui/paint_rect.hpp"

namespace zta::ui::ldb {

inline constexpr int box_width = 28;
inline constexpr int red_from = 80;  // values above this show red
inline constexpr rgb colour_green{0, 128, 0};
inline constexpr rgb colour_red{196, 0, 0};

// Width of the bar; 0 when the control is too narrow to have one.
int bar_width(int client_width);
// Column of value v (0..100): 28 + W * v / 100.
int value_x(int value, int client_width);
// The value a mouse column selects: beyond either end gives exactly 0 or 100.
int value_from_x(int x, int client_width);
// What the bar looks like at `value`, in painting order: filled parts, then the raised thumb.
paint_list paint(int value, int client_width, int client_height, bool enabled);
// Columns to repaint when the value moves from old_value to new_value (2 pixels of margin).
column_span redraw_span(int old_value, int new_value, int client_width);
// The value typed into the box: the integer at the start of its first 18 characters, limited to
// 0..100; text without a number gives 0.
int value_from_text(std::string_view text);
// The set-value rule: anything above 100 is 100 (and below 0 is 0).
int limit_value(int value);

}  // namespace zta::ui::ldb
