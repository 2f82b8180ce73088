#pragma once
// Plain file access by handle: open, read, write, seek, close, and a safe whole-file replace.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace zta {

struct file_closer {
  void operator()(std::FILE* f) const {
    if (f != nullptr) std::fclose(f);
  }
};
using file_handle = std::unique_ptr<std::FILE, file_closer>;

// How much a long sequential file (a WAV file being imported, a recording's temporary file, a clip
// being written) moves per system call: the stream's own 4 KB would cost one call per page.
inline constexpr std::size_t large_io_block = std::size_t{1} << 20;
// A stream buffer of large_io_block bytes for `f`, set before its first read or write. The
// buffer must outlive the stream (close the stream first). False when `f` is null or refuses it.
bool use_large_buffer(std::FILE* f, std::vector<char>& buffer);

file_handle open_for_read(const std::string& path);
// Opens a file that arrived from outside (a shared folder) for reading: only a regular file,
// never through a link, and never blocking in the open (a named pipe would). The check is made on
// the opened descriptor, so the file read is the file checked.
file_handle open_regular_for_read(const std::string& path);
file_handle create_for_write(const std::string& path);  // truncates an existing file
file_handle open_for_append(const std::string& path);   // positioned at the end; created if absent
bool delete_file(const std::string& path);              // a missing file is not an error
bool file_exists(const std::string& path);

// Reads a whole file; false when it cannot be opened or read.
bool read_whole_file(const std::string& path, std::vector<std::uint8_t>& out);
// Writes the bytes to a temporary file beside `path`, flushes it to disk and renames it over
// `path`. On any failure the old file stays untouched and the temporary file is removed.
bool replace_file_atomically(const std::string& path, std::span<const std::uint8_t> bytes);
// Deletes the temporary files replace_file_atomically leaves beside `path` when it is killed
// midway ("<name>.XXXXXX"); nothing else. Returns how many were deleted.
int remove_replace_leftovers(const std::string& path);

}  // namespace zta
