#pragma once
// The system's clock: UTC seconds plus the local UTC offset at that moment.
#include "platform/api/wall_clock.hpp"

namespace zta {

class system_wall_clock final : public wall_clock {
 public:
  std::int32_t local_now() const override;
};

}  // namespace zta
