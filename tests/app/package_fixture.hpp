#pragma once
// A small announcement package for the tests that load one.
#include <string>
#include <vector>

#include "loading/package_writer.hpp"

namespace zta::test {

// One manual announcement `name` with a 4000-sample tone, version 1, for every customer.
inline std::vector<std::uint8_t> one_announcement_package(const std::string& name) {
  std::vector<std::int16_t> pcm(4000);
  for (std::size_t i = 0; i < pcm.size(); ++i) pcm[i] = static_cast<std::int16_t>((i % 50) * 200);
  package_build b;
  package_record_spec r;
  r.name = name;
  r.id_stamp = 4711;
  r.id_serial = static_cast<std::int32_t>(pcm.size());
  r.script = "Welcome to the shop";
  b.records.push_back(r);
  package_sound s{4711, static_cast<std::int32_t>(pcm.size()), encode_sound(pcm, false)};
  return build_package_file(b, {s});
}

}  // namespace zta::test
