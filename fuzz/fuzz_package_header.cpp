// Feeds arbitrary bytes as a package file to the header reader: it must refuse or accept without
// reading out of bounds, and a refused package must leave the station unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "loading/package_reader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::FILE* f = ::fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
  if (f == nullptr) return 0;
  zta::station st("/nonexistent/", 1'000'000);
  zta::ann_blk user = zta::package_record_defaults();
  user.user_made = 1;
  user.set_name("user");
  st.content.list.push_back(user);
  const int before = st.content.list.count();
  zta::package_error e = zta::read_package_header(st, f);
  long pos = std::ftell(f);
  std::fclose(f);
  if (e != zta::package_error::none && st.content.list.count() != before) __builtin_trap();
  if (e == zta::package_error::none) {
    if (pos < 22 || static_cast<std::size_t>(pos) > size) __builtin_trap();
    if (st.content.list.count() > zta::max_announcements) __builtin_trap();
  }
  return 0;
}
