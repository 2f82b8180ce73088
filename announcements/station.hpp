#pragma once
// The shared state of one installation: one owned object, passed by reference to whatever needs
// it (the program makes one; every test makes its own).
#include <array>
#include <cstdint>
#include <string>

#include "announcements/cached_clock.hpp"
#include "announcements/file_class.hpp"
#include "announcements/piece_tables.hpp"
#include "announcements/settings_block.hpp"
#include "base/date_order.hpp"

namespace zta {

inline constexpr int clip_count = 200;

enum clip_bit : std::uint8_t {
  clip_allocated = 0x01,  // an announcement or a partly loaded sound owns it; its file stays
  clip_held = 0x02,       // the player has its file open
  clip_marked = 0x04,     // still referenced (during the clean-up pass)
  clip_filling = 0x08,    // a load or an import is writing it: not deleted, not given out
};

struct station {
  explicit station(std::string folder = "./", std::int32_t startup_now = 0);

  std::string data_folder;  // with a trailing '/'
  cached_clock clock;
  settings_block settings;
  load_options load_opts;
  file_class content;
  std::array<std::uint8_t, clip_count> clip_use{};  // clip_bit flags, never stored
  piece_tables pieces;
  date_order order = date_order::month_day_year;
};

// The data folder from the path the program was started by: its directory with a trailing '/',
// or the current directory when the path has none.
std::string data_folder_of(const std::string& program_path);

}  // namespace zta
