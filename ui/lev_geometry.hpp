#pragma once
// Geometry of the recording level meter lev_rect: levels -40..+20, 0 at two thirds of the width.
#include "ui/paint_rect.hpp"

namespace zta::ui::lev {

inline constexpr int min_level = -40;  // empty
inline constexpr int max_level = 20;
inline constexpr rgb colour_light_green{0, 255, 0};
inline constexpr rgb colour_light_red{255, 0, 0};

int limit_level(int level);
// Column of level g: left + width * (g + 40) / 60.
int level_x(int level, int left, int width);
// Green up to min(level, 0), red from 0 up to the level, black for the rest.
paint_list paint(int level, int width, int height);
// Columns that change between two shown levels; empty when nothing changes.
column_span changed_span(int old_level, int new_level, int width);

}  // namespace zta::ui::lev
