#include "platform/sim/system_wall_clock.hpp"

#include <ctime>

namespace zta {

namespace {

// Offsets lie within +-18 hours; stored biased in the low 20 bits.
constexpr std::int64_t offset_bits = 20;
constexpr std::int64_t offset_bias = std::int64_t{1} << (offset_bits - 1);
constexpr std::int64_t offset_mask = (std::int64_t{1} << offset_bits) - 1;

std::int64_t floor_minute(std::int64_t t) {
  return t >= 0 ? t / 60 : -((-t + 59) / 60);
}

}  // namespace

std::int32_t system_wall_clock::local_now() const {
  const std::time_t t = std::time(nullptr);
  const std::int64_t minute = floor_minute(static_cast<std::int64_t>(t));
  std::int64_t packed = minute_offset_.load(std::memory_order_relaxed);
  if (packed < 0 || (packed >> offset_bits) != minute) {
    std::tm local{};
    localtime_r(&t, &local);
    const std::int64_t offset = local.tm_gmtoff;
    if (minute >= 0 && offset > -offset_bias && offset < offset_bias) {
      packed = (minute << offset_bits) | (offset + offset_bias);
      minute_offset_.store(packed, std::memory_order_relaxed);
    } else {
      return static_cast<std::int32_t>(static_cast<long long>(t) + offset);
    }
  }
  // UTC seconds plus the zone's offset at this moment: local wall-clock time read as UTC.
  return static_cast<std::int32_t>(static_cast<long long>(t) + (packed & offset_mask) -
                                   offset_bias);
}

}  // namespace zta
