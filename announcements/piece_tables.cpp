#include "announcements/piece_tables.hpp"

namespace zta {

const char* temp_piece_name(int slot) {
  static const char* const names[piece_slots] = {"a.tmp", "b.tmp", "c.tmp", "d.tmp"};
  return slot >= 0 && slot < piece_slots ? names[slot] : "";
}

}  // namespace zta
