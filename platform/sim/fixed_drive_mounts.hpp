#pragma once
// Drives at given folders (tests).
#include <array>
#include <string>

#include "platform/api/drive_mounts.hpp"

namespace zta {

class fixed_drive_mounts final : public drive_mounts {
 public:
  fixed_drive_mounts(std::string a, std::string b) : folders_{std::move(a), std::move(b)} {}
  std::string mount_point(int drive) const override { return folders_[drive == 1 ? 1 : 0]; }

 private:
  std::array<std::string, 2> folders_;
};

}  // namespace zta
