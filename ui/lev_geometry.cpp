#include "ui/lev_geometry.hpp"

#include <algorithm>

namespace zta::ui::lev {

int limit_level(int level) {
  return std::clamp(level, min_level, max_level);
}

int level_x(int level, int left, int width) {
  return left + width * (limit_level(level) - min_level) / (max_level - min_level);
}

paint_list paint(int level, int width, int height) {
  paint_list out;
  const int g = limit_level(level);
  auto add = [&](int l, int r, rgb c) {
    if (r > l && height > 0) out.push_back({l, 0, r - l, height, c});
  };
  add(0, level_x(std::min(g, 0), 0, width), colour_light_green);
  if (g > 0) add(level_x(0, 0, width), level_x(g, 0, width), colour_light_red);
  add(level_x(g, 0, width), width, colour_black);
  return out;
}

column_span changed_span(int old_level, int new_level, int width) {
  const int a = level_x(old_level, 0, width);
  const int b = level_x(new_level, 0, width);
  return {std::min(a, b), std::max(a, b)};
}

}  // namespace zta::ui::lev
