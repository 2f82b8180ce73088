#pragma once
#include <cstdint>

namespace zta {

// Where the cached clock reads the time. The answer is the local wall-clock time in whole
// seconds since 1970-01-01 00:00:00 read as if it were UTC (no zone or daylight-saving offset
// is applied afterwards), so a typed calendar time, stored and shown again, comes back unchanged.
class wall_clock {
 public:
  virtual ~wall_clock() = default;
  virtual std::int32_t local_now() const = 0;
};

// The system's clock: UTC seconds plus the local UTC offset at that moment.
class system_wall_clock final : public wall_clock {
 public:
  std::int32_t local_now() const override;
};

// A clock that answers whatever it was last set to (tests, schedule preview).
class fixed_wall_clock final : public wall_clock {
 public:
  explicit fixed_wall_clock(std::int32_t t = 0) : t_(t) {}
  void set(std::int32_t t) { t_ = t; }
  void advance(std::int32_t seconds) { t_ += seconds; }
  std::int32_t local_now() const override { return t_; }

 private:
  std::int32_t t_;
};

}  // namespace zta
