#pragma once
// The members of an installation in the order they are written. State n (1..7) writes member
// n - 1; the program is written twice, as the player and as the uninstaller.
#include <array>
#include <cstdint>

#include "platform/api/startup_registry.hpp"

namespace zta {

enum class install_state : std::uint8_t {
  idle = 0,
  program = 1,
  uninstaller = 2,
  manual = 3,
  chime1 = 4,
  chime2 = 5,
  chime3 = 6,
  package = 7,
};

inline constexpr char uninstaller_name[] = "uninst";
inline constexpr char manual_name[] = "manual.html";
inline constexpr char test_package_name[] = "test.ann";

struct install_member {
  const char* name;  // in the install folder
  bool executable;
};

inline constexpr std::array<install_member, 7> install_members = {{
    {installed_program_name, true},
    {uninstaller_name, true},
    {manual_name, false},
    {"chimes1.aud", false},
    {"chimes2.aud", false},
    {"chimes3.aud", false},
    {test_package_name, false},
}};

}  // namespace zta
