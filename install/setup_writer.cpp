#include "install/setup_writer.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace zta {

namespace {

std::string reason() {
  return std::strerror(errno);
}

class fd_guard {
 public:
  explicit fd_guard(int fd) : fd_(fd) {}
  ~fd_guard() {
    if (fd_ >= 0) ::close(fd_);
  }
  fd_guard(const fd_guard&) = delete;
  fd_guard& operator=(const fd_guard&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

bool write_all(int fd, const std::uint8_t* data, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, data, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    data += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

// Appends one source file to `out_fd`, adding its bytes `times` times to the checksum.
bool append_member(const std::string& path, int out_fd, const std::string& out_name,
                   std::uint64_t& length, std::uint32_t& sum, int times, std::string& error) {
  fd_guard in(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat st {};
  if (in.get() < 0 || ::fstat(in.get(), &st) != 0) {
    error = "cannot read " + path + ": " + reason();
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    error = "cannot read " + path + ": not a regular file";
    return false;
  }
  std::vector<std::uint8_t> buf(1 << 16);
  for (;;) {
    const ssize_t n = ::read(in.get(), buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = "cannot read " + path + ": " + reason();
      return false;
    }
    if (n == 0) return true;
    const auto got = static_cast<std::size_t>(n);
    length += got;
    if (length > 0xFFFFFFFFull - setup_trailer_size) {
      error = "the setup file would exceed 4 GiB at " + path;
      return false;
    }
    for (int i = 0; i < times; ++i) sum = add_byte_sum(sum, {buf.data(), got});
    if (!write_all(out_fd, buf.data(), got)) {
      error = "cannot write " + out_name + ": " + reason();
      return false;
    }
  }
}

}  // namespace

bool write_setup_file(const setup_sources& in, const std::string& out, std::string& error,
                      setup_trailer* written) {
  std::string tmp = out + ".XXXXXX";
  fd_guard fd(::mkstemp(tmp.data()));
  if (fd.get() < 0) {
    error = "cannot create " + out + ": " + reason();
    return false;
  }
  auto fail = [&] {
    ::unlink(tmp.c_str());
    return false;
  };
  setup_trailer t;
  std::uint64_t length = 0;
  std::uint32_t sum = 0;
  const std::string* members[] = {&in.manual, &in.chimes[0], &in.chimes[1], &in.chimes[2],
                                  &in.package};
  if (!append_member(in.program, fd.get(), out, length, sum, 2, error)) return fail();
  if (length == 0) {
    error = "the program " + in.program + " is empty";
    return fail();
  }
  t.ends[0] = static_cast<std::uint32_t>(length);
  for (std::size_t i = 0; i < 5; ++i) {
    if (!append_member(*members[i], fd.get(), out, length, sum, 1, error)) return fail();
    if (i + 1 < t.ends.size()) t.ends[i + 1] = static_cast<std::uint32_t>(length);
  }
  t.checksum = sum;
  const auto trailer = encode_setup_trailer(t);
  if (!write_all(fd.get(), trailer.data(), trailer.size()) || ::fsync(fd.get()) != 0 ||
      ::fchmod(fd.get(), 0755) != 0 || ::close(fd.release()) != 0) {
    error = "cannot write " + out + ": " + reason();
    return fail();
  }
  if (std::rename(tmp.c_str(), out.c_str()) != 0) {
    error = "cannot replace " + out + ": " + reason();
    return fail();
  }
  if (written != nullptr) *written = t;
  return true;
}

}  // namespace zta
