#include "base/date_order.hpp"

#include <cstring>

namespace zta {

date_order date_order_from_format(const char* d_fmt) {
  if (d_fmt == nullptr) return date_order::month_day_year;
  const char* d = nullptr;
  const char* m = nullptr;
  const char* y = nullptr;
  for (const char* p = d_fmt; *p != '\0'; ++p) {
    if (*p != '%' || p[1] == '\0') continue;
    const char* c = p + 1;
    if (*c == 'E' || *c == 'O' || *c == '-') ++c;  // modifiers
    switch (*c) {
      case 'd':
      case 'e':
        if (d == nullptr) d = p;
        break;
      case 'm':
      case 'b':
      case 'B':
      case 'h':
        if (m == nullptr) m = p;
        break;
      case 'y':
      case 'Y':
      case 'C':
        if (y == nullptr) y = p;
        break;
      case 'D':  // %m/%d/%y
        return date_order::month_day_year;
      case 'F':  // %Y-%m-%d
        return date_order::year_month_day;
      default:
        break;
    }
    p = c;
  }
  if (d == nullptr || m == nullptr || y == nullptr) return date_order::month_day_year;
  if (y < m && m < d) return date_order::year_month_day;
  if (d < m) return date_order::day_month_year;
  return date_order::month_day_year;
}

}  // namespace zta
