#include "announcements/edit_rows.hpp"

#include <utility>

namespace zta {

edit_rows build_edit_rows(const ablklist& list, int select) {
  edit_rows rows;
  for (int i = 0; i < list.count() && rows.count() < max_edit_rows; ++i) {
    if (list[i].clip < 0 && i != select) continue;
    if (i == select) rows.selected = rows.count();
    rows.map.push_back(static_cast<std::int8_t>(i));
  }
  return rows;
}

bool exchange_rows(ablklist& list, const edit_rows& rows, int p, int q) {
  const int a = rows.index(p);
  const int b = rows.index(q);
  if (a < 0 || b < 0 || a >= list.count() || b >= list.count()) return false;
  if (a != b) std::swap(list[a], list[b]);
  return true;
}

}  // namespace zta
