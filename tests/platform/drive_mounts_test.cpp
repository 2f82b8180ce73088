// Where the disk method looks for the two drives.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/sim/env_drive_mounts.hpp"

namespace zta {
namespace {

TEST(DriveMounts, DefaultsAndOverrides) {
  const env_drive_mounts drives;
  ::unsetenv("ZTA_DRIVE_A");
  ::unsetenv("ZTA_DRIVE_B");
  EXPECT_EQ(drives.mount_point(0), "/media/floppy0/");
  EXPECT_EQ(drives.mount_point(1), "/media/floppy1/");
  ::setenv("ZTA_DRIVE_A", "/tmp/disk-a", 1);
  ::setenv("ZTA_DRIVE_B", "/tmp/disk-b/", 1);
  EXPECT_EQ(drives.mount_point(0), "/tmp/disk-a/");
  EXPECT_EQ(drives.mount_point(1), "/tmp/disk-b/");
  ::unsetenv("ZTA_DRIVE_A");
  ::unsetenv("ZTA_DRIVE_B");
}

}  // namespace
}  // namespace zta
