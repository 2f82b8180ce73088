#pragma once
// Bounded reading of a text file that arrived from outside (a month file a peer may also write).
#include <cstddef>
#include <string>

namespace zta {

// The first `max_bytes` (at most) of a regular file, opened without following a link and
// without blocking; empty when it cannot be opened.
std::string read_regular_text(const std::string& path, std::size_t max_bytes);

}  // namespace zta
