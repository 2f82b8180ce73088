// Where the program keeps its data: beside a copy of its own, or per user for a system-wide
// installation.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/data_location.hpp"
#include "platform/sim/recording_desktop_shell.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta::test {
namespace {

namespace fs = std::filesystem;

class DataLocationTest : public ::testing::Test {
 protected:
  temp_folder dir;
  call_log log;
  recording_startup_registry registry{log, dir.file("user/VRX Tolvane/ZTA")};
};

TEST_F(DataLocationTest, APortableCopyKeepsItsDataBesideItsProgram) {
  struct program_case {
    const char* name;
    std::string program;
  };
  fs::create_directories(dir.file("usr/bin"));
  fs::create_directories(dir.file("opt/zta/share/zta-announcement-player"));
  for (const auto& c :
       {program_case{"no shared files", dir.file("usr/bin/vrxpar")},
        program_case{"shared files but not in bin", dir.file("opt/zta/vrxpar")},
        program_case{"installed by the setup file", dir.file("user/VRX Tolvane/ZTA/vrxpar")}}) {
    const data_location where = locate_data_folder(c.program, registry);
    EXPECT_FALSE(where.system_wide()) << c.name;
    EXPECT_EQ(where.folder, fs::path(c.program).parent_path().string() + "/") << c.name;
  }
  EXPECT_FALSE(fs::exists(dir.file("user")));  // the user's folder is not even made
}

TEST_F(DataLocationTest, ASystemWideCopyUsesTheUsersInstallFolderFilledFromTheSharedFiles) {
  fs::create_directories(dir.file("usr/bin"));
  fs::create_directories(dir.file("usr/share/zta-announcement-player"));
  for (const char* name : {"chimes1.aud", "chimes2.aud", "chimes3.aud", "test.ann", "manual.html"})
    dir.write(std::string("usr/share/zta-announcement-player/") + name, std::string(name));
  const data_location where = locate_data_folder(dir.file("usr/bin/vrxpar"), registry);
  ASSERT_TRUE(where.system_wide());
  EXPECT_EQ(where.folder, dir.file("user/VRX Tolvane/ZTA/"));
  EXPECT_EQ(where.shared_folder, dir.file("usr/share/zta-announcement-player/"));
  // A chime the user replaced stays the user's.
  dir.write("user/VRX Tolvane/ZTA/chimes2.aud", std::string("mine"));
  seed_data_folder(where);
  const auto text = [&](const std::string& name) {
    const std::vector<std::uint8_t> b = dir.read("user/VRX Tolvane/ZTA/" + name);
    return std::string(b.begin(), b.end());
  };
  EXPECT_EQ(text("chimes1.aud"), "chimes1.aud");
  EXPECT_EQ(text("chimes2.aud"), "mine");
  EXPECT_EQ(text("chimes3.aud"), "chimes3.aud");
  EXPECT_EQ(text("test.ann"), "test.ann");
  // The manual is read where it is.
  EXPECT_FALSE(fs::exists(dir.file("user/VRX Tolvane/ZTA/manual.html")));
}

}  // namespace
}  // namespace zta::test
