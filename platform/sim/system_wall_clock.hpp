#pragma once
// The system's clock: UTC seconds plus the local UTC offset at that moment.
#include <atomic>
#include <cstdint>

#include "platform/api/wall_clock.hpp"

namespace zta {

class system_wall_clock final : public wall_clock {
 public:
  std::int32_t local_now() const override;

 private:
  // The zone's offset, asked of the C library once per UTC minute: localtime_r runs the whole
  // time-zone machinery (a stat of the zone file at least) on every call, and the scheduler asks
  // four times a second. Offsets change only on whole minutes. Minute and offset are packed into
  // one word so that callers on other threads always see a matching pair.
  mutable std::atomic<std::int64_t> minute_offset_{-1};
};

}  // namespace zta
