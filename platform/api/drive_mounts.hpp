#pragma once
// Where the disk method finds the two drives a: and b:.
//
// Contract: mount_point() answers at once, on any thread, and never touches the drive; the
// folder it names need not exist (an empty drive is the load's concern, not this one's).
#include <string>

namespace zta {

class drive_mounts {
 public:
  virtual ~drive_mounts() = default;
  // Folder of drive 0 (a:) or 1 (b:), with a trailing '/'.
  virtual std::string mount_point(int drive) const = 0;
};

}  // namespace zta
