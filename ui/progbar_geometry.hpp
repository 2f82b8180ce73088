#pragma once
// Geometry of the install window's progress bar progbar: blue from the left edge up to
// width * p / 100, white for the rest.
#include "ui/paint_rect.hpp"

namespace zta::ui::progress {

inline constexpr rgb colour_blue{0, 0, 255};

// 0..100; larger values count as 100, negative ones as 0.
int limit_percent(int percent);
int boundary_x(int percent, int width);
paint_list paint(int percent, int width, int height);
// Columns that change between two shown percentages; empty when nothing changes.
column_span changed_span(int old_percent, int new_percent, int width);

}  // namespace zta::ui::progress
