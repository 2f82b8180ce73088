#include <ctime>

#include "platform/sim/system_wall_clock.hpp"

namespace zta {

std::int32_t system_wall_clock::local_now() const {
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  // UTC seconds plus the zone's offset at this moment: local wall-clock time read as UTC.
  return static_cast<std::int32_t>(static_cast<long long>(t) + local.tm_gmtoff);
}

}  // namespace zta
