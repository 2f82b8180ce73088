#include "loading/package_reader.hpp"

#include <array>
#include <vector>

#include "announcements/file_class.hpp"
#include "announcements/list_ops.hpp"

namespace zta {

const char* package_error_text(package_error e) {
  switch (e) {
    case package_error::none:
      return "";
    case package_error::header:
      return "File header error.";
    case package_error::unsupported:
    case package_error::sections:
      return "This file is not supported by this version software. Please either contact your "
             "supplier for the most uptodate version of this software.";
    case package_error::length:
      return "File length error - most likely a corrupted file. Please contact your supplier.";
    case package_error::corrupted:
      return "Corrupted File. Contact your supplier.";
  }
  return "";
}

package_error read_package_content(std::FILE* f, package_header& header, package_content& content) {
  std::array<std::uint8_t, package_header_size> raw{};
  if (f == nullptr || std::fread(raw.data(), 1, raw.size(), f) != raw.size()) {
    return package_error::header;
  }
  header = decode_package_header(raw);
  if (header.version != 0 && header.version != 1) return package_error::unsupported;
  std::int32_t customers = addressee_list_count(header.addressee);
  if (customers != 0) {
    std::vector<std::uint8_t> skipped(static_cast<std::size_t>(customers) * 4);
    if (std::fread(skipped.data(), 1, skipped.size(), f) != skipped.size()) {
      return package_error::header;
    }
  }
  if (header.content_length < 0 || header.content_length > max_content_length) {
    return package_error::length;
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(header.content_length));
  if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
    return package_error::corrupted;
  }
  if (content_checksum(bytes) != header.checksum) return package_error::corrupted;
  if ((header.flags & ~(section_list | section_notice)) != 0) return package_error::sections;
  if (!parse_package_content(bytes, header.version, header.flags, content)) {
    return package_error::corrupted;
  }
  return package_error::none;
}

void apply_package_content(station& st, package_content content) {
  if (content.has_list && content.list_count >= 0) {
    merge_package_list(st, std::move(content.records));
  }
  if (content.has_notice) {
    const package_notice& n = content.notice;
    if (n.next_show == moment_never) {
      st.content.notice = updateinfo{};
    } else {
      set_notice_from_package(st.content.notice, n.next_show, n.repeat, n.text, st.clock.now);
    }
  }
}

package_error read_package_header(station& st, std::FILE* f) {
  package_header header;
  package_content content;
  package_error e = read_package_content(f, header, content);
  if (e == package_error::none) apply_package_content(st, std::move(content));
  return e;
}

}  // namespace zta
