// Request files as the network may drop them: the decoded text is at most 31 bytes without a NUL,
// and a name that passes the plain-name test can never leave the control folder.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "announcements/remote_folder.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);  // own copy: exact bounds for ASan
  zta::request_file r = zta::decode_request(bytes);
  if (r.text.size() > 31) __builtin_trap();
  if (r.text.find('\0') != std::string::npos) __builtin_trap();
  if (size < 4 && r.kind != zta::request_kind::none) __builtin_trap();
  if (zta::is_plain_file_name(r.text)) {
    if (r.text.find('/') != std::string::npos || r.text.find('\\') != std::string::npos) {
      __builtin_trap();
    }
    if (r.text == ".." || r.text == "." || r.text.empty()) __builtin_trap();
  }
  // A sound file name is a plain one and never the listing.
  if (zta::is_sound_file_name(r.text) &&
      (!zta::is_plain_file_name(r.text) || r.text == zta::listing_file_name)) {
    __builtin_trap();
  }
  // The listing record of a name and script from the same bytes keeps its fixed layout.
  zta::ann_blk a;
  a.set_name(r.text);
  a.script.assign(bytes.begin(), bytes.end());
  a.confirm = size > 0 ? data[0] : 0;
  std::uint8_t record[zta::listing_record_size];
  zta::encode_listing_record(a, std::span<std::uint8_t, zta::listing_record_size>(record));
  if (record[0] > 1 || record[1] != 0 || record[35] != 0 || record[291] != 0) __builtin_trap();
  return 0;
}
