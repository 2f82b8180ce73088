#pragma once
#include "announcements/station.hpp"

namespace zta {

inline constexpr std::int32_t daily_check_threshold = 79999;  // longer intervals are daily checks
inline constexpr std::int32_t daily_check_latest = 25200;     // 07:00:00
inline constexpr std::int32_t daily_check_spread = 300;       // seconds per customer-number step

// Whether the automatic update check should run now (FTP or file method, interval and retry
// time elapsed, and for a daily check inside the installation's own early-morning window).
bool update_due(const station& st);

}  // namespace zta
