#pragma once
// Setup files for the installer's tests: members of chosen sizes and contents, written by the
// setup writer or laid out by hand with any trailer.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "install/setup_layout.hpp"
#include "install/setup_writer.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta::test {

using bytes = std::vector<std::uint8_t>;

// A member of `n` bytes whose values depend on `seed` and the position (so a shifted or
// truncated copy shows).
inline bytes member_bytes(std::size_t n, std::uint8_t seed) {
  bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7 + (i >> 8));
  return b;
}

struct setup_members {
  bytes program, manual;
  std::array<bytes, 3> chimes;
  bytes package;

  // Sizes chosen so the program spans several blocks and ends inside one.
  static setup_members typical() {
    return {member_bytes(3 * 16384 + 100, 1),
            member_bytes(5000, 2),
            {member_bytes(16384, 3), member_bytes(0, 4), member_bytes(20000, 5)},
            member_bytes(777, 6)};
  }
  std::array<const bytes*, 7> installed() const {
    return {&program, &program, &manual, &chimes[0], &chimes[1], &chimes[2], &package};
  }
};

// Writes the members as files in `dir` and the setup file `name` from them; returns its path.
inline std::string write_setup(const temp_folder& dir, const setup_members& m,
                               const std::string& name = "SETUP") {
  dir.write("in.program", m.program);
  dir.write("in.manual", m.manual);
  for (int i = 0; i < 3; ++i) dir.write("in.chime" + std::to_string(i + 1), m.chimes[i]);
  dir.write("in.package", m.package);
  setup_sources s{dir.file("in.program"),
                  dir.file("in.manual"),
                  {dir.file("in.chime1"), dir.file("in.chime2"), dir.file("in.chime3")},
                  dir.file("in.package")};
  std::string error;
  if (!write_setup_file(s, dir.file(name), error)) return {};
  return dir.file(name);
}

// The bytes of a file `body` followed by the trailer `t`.
inline bytes with_trailer(bytes body, const setup_trailer& t) {
  const auto raw = encode_setup_trailer(t);
  body.insert(body.end(), raw.begin(), raw.end());
  return body;
}

}  // namespace zta::test
