#include <cstdlib>

#include "platform/api/drive_mounts.hpp"

namespace zta {

std::string drive_mount_point(int drive) {
  const char* env = std::getenv(drive == 1 ? "ZTA_DRIVE_B" : "ZTA_DRIVE_A");
  std::string folder = env != nullptr && *env != '\0' ? env
                       : drive == 1                   ? "/media/floppy1"
                                                      : "/media/floppy0";
  if (folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace zta
