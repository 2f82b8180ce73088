#pragma once
#include <cstdint>
#include <string>

#include "announcements/station.hpp"

namespace zta {

// "log%.2d%.2d.txt" with the month and the year's last two digits.
std::string log_file_name(std::int32_t moment);
// The line "yy/mm/dd - hh:mm Name\r\n".
std::string log_line(std::int32_t moment, std::string_view name);
extern const char log_header[];  // 119 bytes
// Appends the line for `a` at the cached `now` to this month's log; silent on failure.
void log_play(const station& st, const ann_blk& a);

}  // namespace zta
