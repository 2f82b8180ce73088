#include "ui/ldb_geometry.hpp"

#include <algorithm>
#include <cctype>

namespace zta::ui::ldb {

int bar_width(int client_width) {
  return std::max(0, client_width - box_width);
}

int value_x(int value, int client_width) {
  return box_width + bar_width(client_width) * limit_value(value) / 100;
}

int value_from_x(int x, int client_width) {
  const int w = bar_width(client_width);
  if (w == 0) return 0;  // no bar: nothing to divide by
  const int a = std::clamp(x - box_width, 0, w);
  return a * 100 / w;
}

int limit_value(int value) {
  return std::clamp(value, 0, 100);
}

namespace {

void add(paint_list& out, int left, int right, int y, int h, rgb colour, int bar_right) {
  left = std::max(left, box_width);  // never paint over the box
  right = std::min(right, bar_right);
  if (right > left && h > 0) out.push_back({left, y, right - left, h, colour});
}

}  // namespace

paint_list paint(int value, int client_width, int client_height, bool enabled) {
  paint_list out;
  const int right = client_width;
  const int h = client_height;
  if (bar_width(client_width) == 0 || h <= 0) return out;
  const int v = limit_value(value);
  const int xv = value_x(v, client_width);
  const rgb off = colour_light_gray;
  add(out, box_width, value_x(std::min(v, red_from), client_width), 0, h,
      enabled ? colour_green : off, right);
  if (v > red_from)
    add(out, value_x(red_from, client_width), xv, 0, h, enabled ? colour_red : off, right);
  add(out, xv, right, 0, h, enabled ? colour_gray : off, right);

  // The thumb: a 2-pixel light gray column with a white top-left and black bottom-right edge,
  // pulled back from the right edge so that it stays whole.
  const int t = (xv + 1 >= right) ? right - 3 : xv - 1;
  add(out, t, t + 2, 0, h, colour_light_gray, right);
  add(out, t - 1, t, 1, h - 1, colour_white, right);
  add(out, t - 1, t + 2, 0, 1, colour_white, right);
  add(out, t + 2, t + 3, 0, h - 1, colour_black, right);
  add(out, t + 1, t + 3, h - 1, 1, colour_black, right);
  return out;
}

column_span redraw_span(int old_value, int new_value, int client_width) {
  const int lo = std::min(limit_value(old_value), limit_value(new_value));
  const int hi = std::max(limit_value(old_value), limit_value(new_value));
  return {value_x(lo, client_width) - 2, value_x(hi, client_width) + 2};
}

int value_from_text(std::string_view text) {
  text = text.substr(0, std::min<std::size_t>(text.size(), 18));
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long n = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    n = std::min<long long>(n * 10 + (text[i] - '0'), 1000);  // saturate: no overflow
  }
  return limit_value(static_cast<int>(negative ? -n : n));
}

}  // namespace zta::ui::ldb
