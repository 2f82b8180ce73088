#include "install/install_job.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "install/install_texts.hpp"

namespace zta {

namespace {

bool write_all(int fd, const std::uint8_t* data, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, data, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      if (w == 0) errno = ENOSPC;
      return false;
    }
    data += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

}  // namespace

install_job::install_job(std::string setup_path, std::string install_folder)
    : setup_path_(std::move(setup_path)), folder_(std::move(install_folder)) {
  while (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
}

install_job::~install_job() {
  discard_member();
}

install_begin install_job::begin() {
  setup_ = open_for_read(setup_path_);
  struct stat st {};
  if (!setup_ || ::fstat(::fileno(setup_.get()), &st) != 0 || !S_ISREG(st.st_mode)) {
    fail("cannot read", setup_path_);
    setup_.reset();
    return install_begin::unreadable;
  }
  length_ = static_cast<std::uint64_t>(st.st_size);
  std::array<std::uint8_t, setup_trailer_size> raw{};
  const bool read =
      length_ >= setup_trailer_size &&
      std::fseek(setup_.get(), static_cast<long>(length_ - setup_trailer_size), SEEK_SET) == 0 &&
      std::fread(raw.data(), 1, raw.size(), setup_.get()) == raw.size();
  if (read) trailer_ = decode_setup_trailer(raw);
  if (!read || !setup_layout_fits(trailer_, length_)) {
    setup_.reset();
    return install_begin::corrupt;
  }
  std::fseek(setup_.get(), 0, SEEK_SET);
  remainder_ = trailer_.checksum;
  remaining_ = trailer_.ends[0];
  done_ = 0;
  buffer_.resize(install_block_size);
  if (!create_member(install_state::program)) {
    setup_.reset();
    return install_begin::create_failed;
  }
  state_ = install_state::program;
  return install_begin::started;
}

int install_job::percent() const {
  if (length_ < setup_trailer_size) return 0;
  const std::uint64_t total = setup_install_total(trailer_, length_);
  return total == 0 ? 100 : static_cast<int>(std::min<std::uint64_t>(done_ * 100 / total, 100));
}

bool install_job::step() {
  if (state_ == install_state::idle) return false;
  if (remaining_ >= 1) {
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, install_block_size));
    // A failed read counts as no bytes: the checksum then tells.
    const std::size_t got = std::fread(buffer_.data(), 1, want, setup_.get());
    for (std::size_t i = 0; i < got; ++i) remainder_ -= buffer_[i];
    if (!write_all(out_fd_, buffer_.data(), got)) {
      fail("cannot write", out_path_);
      discard_member();
      setup_.reset();
      state_ = install_state::idle;
      return false;
    }
    done_ += got;
    remaining_ = remaining_ <= install_block_size ? 0 : remaining_ - install_block_size;
    return true;
  }
  bool created = false;
  if (finish_member()) {
    const auto& o = trailer_.ends;
    switch (state_) {
      case install_state::program:
        std::fseek(setup_.get(), 0, SEEK_SET);
        remaining_ = o[0];
        break;
      case install_state::uninstaller:
        remaining_ = o[1] - o[0];
        break;
      case install_state::manual:
        remaining_ = o[2] - o[1];
        break;
      case install_state::chime1:
        remaining_ = o[3] - o[2];
        break;
      case install_state::chime2:
        remaining_ = o[4] - o[3];
        break;
      case install_state::chime3:
        remaining_ = length_ - setup_trailer_size - o[4];
        break;
      case install_state::package:
      case install_state::idle:
        complete_ = true;
        break;
    }
    if (!complete_) {
      const auto next = static_cast<install_state>(static_cast<int>(state_) + 1);
      created = create_member(next);
    }
  }
  if (created) {
    state_ = static_cast<install_state>(static_cast<int>(state_) + 1);
    return true;
  }
  setup_.reset();
  state_ = install_state::idle;
  return false;
}

bool install_job::create_member(install_state s) {
  const install_member& m = install_members[static_cast<std::size_t>(s) - 1];
  out_path_ = folder_ + "/" + m.name;
  out_executable_ = m.executable;
  out_tmp_ = out_path_ + ".XXXXXX";
  out_fd_ = ::mkstemp(out_tmp_.data());
  if (out_fd_ < 0) {
    out_tmp_.clear();
    return fail("cannot create", out_path_);
  }
  ::fcntl(out_fd_, F_SETFD, FD_CLOEXEC);
  return true;
}

bool install_job::finish_member() {
  // On the disk, with its final mode, before the name points at it.
  const int fd = out_fd_;
  out_fd_ = -1;
  const bool ok = ::fsync(fd) == 0 && ::fchmod(fd, out_executable_ ? 0755 : 0644) == 0;
  const int saved = errno;
  if (::close(fd) != 0 || !ok) {
    if (!ok) errno = saved;
    fail("cannot write", out_path_);
    ::unlink(out_tmp_.c_str());
    out_tmp_.clear();
    return false;
  }
  if (std::rename(out_tmp_.c_str(), out_path_.c_str()) != 0) {
    fail("cannot replace", out_path_);
    ::unlink(out_tmp_.c_str());
    out_tmp_.clear();
    return false;
  }
  out_tmp_.clear();
  return true;
}

void install_job::discard_member() {
  if (out_fd_ >= 0) ::close(out_fd_);
  out_fd_ = -1;
  if (!out_tmp_.empty()) ::unlink(out_tmp_.c_str());
  out_tmp_.clear();
}

bool install_job::fail(const std::string& what, const std::string& file) {
  failure_ = std::string(install_failed_prefix) + what + " " + file + ": " + std::strerror(errno);
  return false;
}

}  // namespace zta
