#pragma once
// Reading a package's header and content from an open file and applying its list and notice.
#include <cstdio>

#include "announcements/station.hpp"
#include "loading/package_format.hpp"

namespace zta {

enum class package_error {
  none,
  header,       // fewer than 22 header bytes (or a cut-off addressee list)
  unsupported,  // version outside 0..1
  length,       // content length outside 0..32768
  corrupted,    // content checksum, or content that runs past its length
  sections,     // section flags other than 4 and 8
};

// The message shown in a "File Error" box; "" for none.
const char* package_error_text(package_error e);
inline constexpr char package_error_caption[] = "File Error";

// Reads and checks the header, the addressee list and the content, without changing anything.
package_error read_package_content(std::FILE* f, package_header& header, package_content& content);
// The same, then applies the list section (a negative count leaves the list untouched) and the
// notice section to the station. On success the file is positioned after the content; on any
// failure nothing has changed.
package_error read_package_header(station& st, std::FILE* f);
void apply_package_content(station& st, package_content content);

}  // namespace zta
