#include "base/file_io.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace zta {

file_handle open_for_read(const std::string& path) {
  return file_handle(std::fopen(path.c_str(), "rb"));
}

file_handle create_for_write(const std::string& path) {
  return file_handle(std::fopen(path.c_str(), "wb"));
}

file_handle open_for_append(const std::string& path) {
  file_handle f(std::fopen(path.c_str(), "r+b"));
  if (!f) f.reset(std::fopen(path.c_str(), "wb"));
  if (f) std::fseek(f.get(), 0, SEEK_END);
  return f;
}

bool delete_file(const std::string& path) {
  return std::remove(path.c_str()) == 0 || errno == ENOENT;
}

bool file_exists(const std::string& path) {
  return ::access(path.c_str(), F_OK) == 0;
}

bool read_whole_file(const std::string& path, std::vector<std::uint8_t>& out) {
  out.clear();
  file_handle f = open_for_read(path);
  if (!f) return false;
  std::uint8_t buf[65536];
  for (;;) {
    const std::size_t n = std::fread(buf, 1, sizeof buf, f.get());
    out.insert(out.end(), buf, buf + n);
    if (n < sizeof buf) return std::ferror(f.get()) == 0;
  }
}

bool replace_file_atomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::string tmp = path + ".XXXXXX";
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) return false;
  bool ok = true;
  std::size_t done = 0;
  while (ok && done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      ok = false;
    else
      done += static_cast<std::size_t>(n);
  }
  // The new bytes must be on the disk before the name points at them.
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok) {
    ::chmod(tmp.c_str(), 0644);
    ok = std::rename(tmp.c_str(), path.c_str()) == 0;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    return false;
  }
  // Make the rename itself durable.
  std::string dir = path;
  const auto slash = dir.find_last_of('/');
  dir = slash == std::string::npos ? "." : dir.substr(0, slash + 1);
  const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

}  // namespace zta
