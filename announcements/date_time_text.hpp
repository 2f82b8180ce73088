#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/date_order.hpp"

namespace zta {

std::string date_text(std::int32_t moment, date_order order);  // "IMMEDIATE", "NEVER", "7/3/01"
std::string time_text(std::int32_t moment);                    // "" for 0 and never, "10:30:00"
std::string day_time_text(std::int32_t seconds);               // "24:00:00" for 86400

void parse_date(std::int32_t& moment, std::string_view text, date_order order);
void parse_time(std::int32_t& moment, std::string_view text);
std::int32_t parse_day_time(std::string_view text);

}  // namespace zta
