#include "base/file_io.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <string_view>

namespace zta {

namespace {

constexpr char replace_suffix[] = ".XXXXXX";
constexpr std::size_t replace_suffix_size = sizeof replace_suffix - 1;

// Whether `name` is `base` followed by what mkstemp makes of the suffix: a dot and six letters
// or digits.
bool is_replace_leftover(std::string_view name, std::string_view base) {
  if (name.size() != base.size() + replace_suffix_size || name.substr(0, base.size()) != base)
    return false;
  if (name[base.size()] != '.') return false;
  for (char c : name.substr(base.size() + 1)) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0) return false;
  }
  return true;
}

}  // namespace

bool use_large_buffer(std::FILE* f, std::vector<char>& buffer) {
  if (f == nullptr) return false;
  buffer.resize(large_io_block);
  return std::setvbuf(f, buffer.data(), _IOFBF, buffer.size()) == 0;
}

file_handle open_for_read(const std::string& path) {
  return file_handle(std::fopen(path.c_str(), "rb"));
}

file_handle open_regular_for_read(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return {};
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return {};
  }
  file_handle f(::fdopen(fd, "rb"));
  if (!f) ::close(fd);
  return f;
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
  std::string tmp = path + replace_suffix;
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

int remove_replace_leftovers(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  DIR* d = ::opendir(dir.c_str());
  if (d == nullptr) return 0;
  std::vector<std::string> doomed;
  while (const dirent* e = ::readdir(d)) {
    if (is_replace_leftover(e->d_name, base)) doomed.emplace_back(e->d_name);
  }
  ::closedir(d);
  int removed = 0;
  for (const std::string& name : doomed) {
    const std::string p = (slash == std::string::npos ? "" : dir) + name;
    struct stat info {};
    // Only regular files: a folder or a pipe of that name is not ours.
    if (::lstat(p.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::unlink(p.c_str()) == 0)
      ++removed;
  }
  return removed;
}

}  // namespace zta
