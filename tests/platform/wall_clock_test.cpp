// The system clock's reading: UTC plus the zone's offset, which it keeps for the minute.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/sim/system_wall_clock.hpp"

namespace zta {
namespace {

// The reading the C library gives directly, for the present second.
std::int64_t direct_local_now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return static_cast<std::int64_t>(t) + local.tm_gmtoff;
}

class zone_scope {
 public:
  explicit zone_scope(const char* tz) {
    if (const char* old = std::getenv("TZ")) old_ = old, had_ = true;
    ::setenv("TZ", tz, 1);
    ::tzset();
  }
  ~zone_scope() {
    if (had_)
      ::setenv("TZ", old_.c_str(), 1);
    else
      ::unsetenv("TZ");
    ::tzset();
  }

 private:
  std::string old_;
  bool had_ = false;
};

TEST(SystemWallClock, ReadsLocalTimeInZonesEitherSideOfUtc) {
  // Offsets east and west, half and quarter hours, the largest there is.
  for (const char* tz : {"UTC0", "IST-5:30", "NST3:30", "NPT-5:45", "LINT-14", "BIT12"}) {
    SCOPED_TRACE(tz);
    const zone_scope zone(tz);
    const system_wall_clock clock;          // fresh: nothing kept from another zone
    for (int read = 0; read < 3; ++read) {  // the first reading asks, the others use what it kept
      std::int64_t before, got, after;
      do {
        before = direct_local_now();
        got = clock.local_now();
        after = direct_local_now();
      } while (before != after);  // a second boundary in between: again
      EXPECT_EQ(got, before);
    }
  }
}

}  // namespace
}  // namespace zta
