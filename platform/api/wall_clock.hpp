#pragma once
// Where the cached clock reads the time.
//
// Contract: local_now() answers the local wall-clock time in whole seconds since 1970-01-01
// 00:00:00 read as if it were UTC (no zone or daylight-saving offset is applied afterwards), so a
// typed calendar time, stored and shown again, comes back unchanged. It never fails and may be
// called from any thread.
#include <cstdint>

namespace zta {

class wall_clock {
 public:
  virtual ~wall_clock() = default;
  virtual std::int32_t local_now() const = 0;
};

}  // namespace zta
