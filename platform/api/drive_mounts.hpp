#pragma once
// Where the disk method finds the two drives: mount points /media/floppy0 and /media/floppy1,
// or the folders named by ZTA_DRIVE_A and ZTA_DRIVE_B.
#include <string>

namespace zta {

// Folder of drive 0 (a:) or 1 (b:), with a trailing '/'.
std::string drive_mount_point(int drive);

}  // namespace zta
