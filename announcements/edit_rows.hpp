#pragma once
// The rows of the Announcement Control list: which announcements it shows and in which order, and
// the exchange of two rows' records that Up and Down make.
#include <cstdint>
#include <vector>

#include "announcements/file_class.hpp"

namespace zta {

inline constexpr int max_edit_rows = 128;

struct edit_rows {
  std::vector<std::int8_t> map;  // row position -> announcement index
  int selected = -1;             // row of the announcement asked for, -1 when it is not listed

  int count() const { return static_cast<int>(map.size()); }
  // The announcement index of a row, -1 for a row outside the rows.
  int index(int row) const {
    return row >= 0 && row < count() ? map[static_cast<std::size_t>(row)] : -1;
  }
};

// Every announcement with sound, and the one at `select` even without (a placeholder that a
// recording or an import has just made), in list order.
edit_rows build_edit_rows(const ablklist& list, int select);

// Exchanges the complete records of rows p and q (fixed times and script included); the row map
// stays, so the list order changes. False, with nothing changed, when a row or its announcement
// lies outside.
bool exchange_rows(ablklist& list, const edit_rows& rows, int p, int q);

}  // namespace zta
