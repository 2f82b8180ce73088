#pragma once
// The drives as mount points: /media/floppy0 and /media/floppy1, or the folders named by
// ZTA_DRIVE_A and ZTA_DRIVE_B (read at each call).
#include "platform/api/drive_mounts.hpp"

namespace zta {

class env_drive_mounts final : public drive_mounts {
 public:
  std::string mount_point(int drive) const override;
};

}  // namespace zta
