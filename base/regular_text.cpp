#include "base/regular_text.hpp"

#include <cstdio>

#include "base/file_io.hpp"

namespace zta {

std::string read_regular_text(const std::string& path, std::size_t max_bytes) {
  std::string text;
  file_handle f = open_regular_for_read(path);
  if (!f) return text;
  char buf[4096];
  std::size_t got = 0;
  while (text.size() < max_bytes && (got = std::fread(buf, 1, sizeof buf, f.get())) > 0)
    text.append(buf, got);
  if (text.size() > max_bytes) text.resize(max_bytes);
  return text;
}

}  // namespace zta
