#pragma once
// A clock that answers whatever it was last set to (tests, schedule preview).
#include "platform/api/wall_clock.hpp"

namespace zta {

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
