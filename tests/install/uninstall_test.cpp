// The uninstaller's removals and the files it deletes.
#include <gtest/gtest.h>

#include <filesystem>

#include "install/shell_steps.hpp"
#include "platform/sim/recording_desktop_shell.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta::test {
namespace {

namespace fs = std::filesystem;

class UninstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(folder + "/keep");
    for (const char* name : {"vrxpar", "uninst", "manual.html", "chimes1.aud", "test.ann",
                             "vrxpa.dat", "afl000.aud", "log0324.txt", "vrxpar.Ab12Cd"})
      dir.write(std::string("ZTA/") + name, std::string(name));
    dir.write("ZTA/keep/inside", std::string("x"));
    dir.write("outside", std::string("x"));
    fs::create_symlink(dir.file("outside"), folder + "/link");
  }
  std::vector<std::string> left() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename());
    std::sort(out.begin(), out.end());
    return out;
  }

  temp_folder dir;
  std::string folder = dir.file("ZTA");
  call_log log;
  recording_startup_registry registry{log, folder};
  recording_desktop_shell shell{log};
};

TEST_F(UninstallTest, RemovesTheRegistrationsInOrderThenTheFilesButTheUninstaller) {
  EXPECT_EQ(uninstall(registry, shell), 9);
  EXPECT_EQ(log, (call_log{"service uninstall", "logon clear", "remove menu",
                           "remove uninstall entry", "remove shortcut"}));
  EXPECT_EQ(left(), (std::vector<std::string>{"keep", "uninst"}));
  EXPECT_TRUE(fs::exists(folder + "/keep/inside"));  // subfolders stay
  EXPECT_TRUE(fs::exists(dir.file("outside")));      // a link goes, not what it points at
}

TEST_F(UninstallTest, ASecondRunFindsNoProgramAndDeletesNothing) {
  ASSERT_EQ(uninstall(registry, shell), 9);
  dir.write("ZTA/vrxpa.dat", std::string("written by hand since"));
  log.clear();
  EXPECT_EQ(uninstall(registry, shell), 0);
  EXPECT_EQ(log.size(), 5u);  // the removals run again, silently
  EXPECT_EQ(left(), (std::vector<std::string>{"keep", "uninst", "vrxpa.dat"}));
}

TEST_F(UninstallTest, TheUninstallerIsKeptWhateverTheCaseOfItsName) {
  fs::rename(folder + "/uninst", folder + "/UnInst");
  uninstall(registry, shell);
  EXPECT_EQ(left(), (std::vector<std::string>{"UnInst", "keep"}));
}

TEST_F(UninstallTest, AProgramThatIsAFolderIsNotTheInstalledProgram) {
  fs::remove(folder + "/vrxpar");
  fs::create_directory(folder + "/vrxpar");
  EXPECT_EQ(uninstall(registry, shell), 0);
  EXPECT_TRUE(fs::exists(folder + "/vrxpa.dat"));
}

}  // namespace
}  // namespace zta::test
