#include "platform/sim/env_drive_mounts.hpp"

#include <cstdlib>

namespace zta {

std::string env_drive_mounts::mount_point(int drive) const {
  const char* env = std::getenv(drive == 1 ? "ZTA_DRIVE_B" : "ZTA_DRIVE_A");
  std::string folder = env != nullptr && *env != '\0' ? env
                       : drive == 1                   ? "/media/floppy1"
                                                      : "/media/floppy0";
  if (folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace zta
