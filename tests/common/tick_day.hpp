#pragma once
// What the tick, missed-play, preview and report tests share: their day, times of it, and a
// front end that shows nothing.
#include <cstdint>
#include <string>

#include "app/scheduler/scheduler_tick.hpp"

namespace zta::test {

inline constexpr std::int32_t day0 = 1699920000;  // Tuesday 2023-11-14 00:00:00

constexpr int hms(int h, int m, int s) {
  return h * 3600 + m * 60 + s;
}

// Notices go nowhere, no automatic update runs, no splash.
struct quiet_callouts final : tick_callouts {
  void show_notice(const std::string&) override {}
  bool run_automatic_update() override { return false; }
  void close_splash() override {}
};

}  // namespace zta::test
