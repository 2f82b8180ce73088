#include "ui/progbar_geometry.hpp"

#include <algorithm>

namespace zta::ui::progress {

int limit_percent(int percent) {
  return std::clamp(percent, 0, 100);
}

int boundary_x(int percent, int width) {
  return width * limit_percent(percent) / 100;
}

paint_list paint(int percent, int width, int height) {
  paint_list out;
  const int x = boundary_x(percent, width);
  if (height <= 0) return out;
  if (x > 0) out.push_back({0, 0, x, height, colour_blue});
  if (width > x) out.push_back({x, 0, width - x, height, colour_white});
  return out;
}

column_span changed_span(int old_percent, int new_percent, int width) {
  const int a = boundary_x(old_percent, width);
  const int b = boundary_x(new_percent, width);
  return {std::min(a, b), std::max(a, b)};
}

}  // namespace zta::ui::progress
