#pragma once
// Builds a setup file from the program and the members it delivers (the `zta mksetup` command).
#include <array>
#include <string>

#include "install/setup_layout.hpp"

namespace zta {

struct setup_sources {
  std::string program;  // the executable the setup file runs as
  std::string manual;
  std::array<std::string, 3> chimes;  // one-, two- and three-note chime clips
  std::string package;                // the test announcements package
};

// Writes `out` as the program followed by the members and the trailer, executable (mode 0755).
// Every source must be a regular file; the whole must stay within 32-bit offsets. `out` is
// replaced only once it is complete. On failure returns false with `error` saying which file and
// why, and leaves `out` as it was.
bool write_setup_file(const setup_sources& in, const std::string& out, std::string& error,
                      setup_trailer* written = nullptr);

}  // namespace zta
