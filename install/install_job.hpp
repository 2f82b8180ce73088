#pragma once
// The copying part of an installation: the members of the setup file into the install folder,
// one block per step so the window stays live. Each member is written under a temporary name and
// renamed into place once complete, so an interrupted installation never leaves a truncated
// program where the start-up entries point. Destroying the job (Stop) removes the member being
// written; members already in place stay.
#include <cstdint>
#include <string>
#include <vector>

#include "base/file_io.hpp"
#include "install/install_members.hpp"
#include "install/setup_layout.hpp"

namespace zta {

inline constexpr std::size_t install_block_size = 16384;

enum class install_begin {
  started,        // the first member is created: step() until it returns false
  unreadable,     // the setup file cannot be read (failure() says why)
  corrupt,        // its trailer does not describe members inside the file
  create_failed,  // the first member cannot be created (failure() says why)
};

class install_job {
 public:
  install_job(std::string setup_path, std::string install_folder);
  ~install_job();
  install_job(const install_job&) = delete;
  install_job& operator=(const install_job&) = delete;

  // Reads the trailer and creates the first member.
  install_begin begin();
  // One block of at most 16384 bytes, or the completion of a member and the creation of the
  // next. Returns whether more remains; false when every member is in place (complete()) or the
  // installation failed (failure()).
  bool step();

  // Bytes done * 100 / (L - 24 + o1): 100 only once the last member is written.
  int percent() const;
  install_state state() const { return state_; }
  std::uint64_t bytes_done() const { return done_; }
  bool complete() const { return complete_; }
  // The bytes read summed to the trailer's checksum.
  bool checksum_matches() const { return complete_ && remainder_ == 0; }
  // "Installation failed: cannot create FILE: reason"; empty while nothing failed.
  const std::string& failure() const { return failure_; }
  const std::string& install_folder() const { return folder_; }

 private:
  bool create_member(install_state s);
  bool finish_member();
  void discard_member();
  bool fail(const std::string& what, const std::string& file);

  std::string setup_path_;
  std::string folder_;
  file_handle setup_;
  int out_fd_ = -1;
  std::string out_tmp_;
  std::string out_path_;
  bool out_executable_ = false;
  setup_trailer trailer_;
  std::uint64_t length_ = 0;  // L
  std::uint32_t remainder_ = 0;
  install_state state_ = install_state::idle;
  std::uint64_t remaining_ = 0;
  std::uint64_t done_ = 0;
  bool complete_ = false;
  std::string failure_;
  std::vector<std::uint8_t> buffer_;
};

}  // namespace zta
