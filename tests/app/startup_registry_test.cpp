#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/api/startup_registry.hpp"
#include "platform/xdg/xdg_startup_registry.hpp"
#include "tests/common/temp_folder.hpp"
#include "tests/tools/run_command.hpp"

namespace zta {
namespace {

namespace fs = std::filesystem;

struct RegistryTest : ::testing::Test {
  test::temp_folder dir;
  xdg_startup_registry reg{xdg_roots{dir.path() + "data", dir.path() + "config", false}};
  std::string text(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

TEST_F(RegistryTest, InstallFolderIsCreatedUnderTheDataHome) {
  const std::string expected = dir.path() + "data/VRX Tolvane/ZTA";
  EXPECT_EQ(reg.install_folder(), expected);
  EXPECT_TRUE(fs::is_directory(expected));
  EXPECT_EQ(reg.installed_exe_path(), expected + "/vrxpar");
}

TEST_F(RegistryTest, LogonEntryIsWrittenOnceAndCleared) {
  EXPECT_FALSE(reg.logon_start_is_set());
  reg.logon_start_set();
  ASSERT_TRUE(reg.logon_start_is_set());
  const std::string path = dir.path() + "config/autostart/ZTAAnnLogon.desktop";
  EXPECT_EQ(reg.autostart_path(), path);
  const std::string entry = text(path);
  EXPECT_NE(entry.find("[Desktop Entry]\nVersion=1.4\nType=Application\n"), std::string::npos);
  // The folder has a space, so the program is quoted.
  EXPECT_NE(entry.find("\nExec=\"" + dir.path() + "data/VRX Tolvane/ZTA/vrxpar\" /logon\n"),
            std::string::npos)
      << entry;
  // Only existence is tested: an entry already there is left as it is.
  { std::ofstream(path) << "[Desktop Entry]\nExec=other\n"; }
  reg.logon_start_set();
  EXPECT_EQ(text(path), "[Desktop Entry]\nExec=other\n");
  reg.logon_start_clear();
  EXPECT_FALSE(reg.logon_start_is_set());
  reg.logon_start_clear();  // a missing entry is no error
}

TEST_F(RegistryTest, ServiceUnitIsEnabledByItsWantsLinkAndRemoved) {
  EXPECT_FALSE(reg.service_is_installed());
  ASSERT_TRUE(reg.service_install());
  const std::string unit = dir.path() + "config/systemd/user/ZTAAnnService.service";
  const std::string link =
      dir.path() + "config/systemd/user/default.target.wants/ZTAAnnService.service";
  EXPECT_TRUE(reg.service_is_installed());
  EXPECT_EQ(text(unit),
            "[Unit]\nDescription=ZTA Announcement Player (before log-on)\n\n"
            "[Service]\nType=notify\nExecStart=\"" +
                dir.path() +
                "data/VRX Tolvane/ZTA/vrxpar\" /service\n"
                "WatchdogSec=30\nRestart=on-failure\nRestartSec=5\n\n"
                "[Install]\nWantedBy=default.target\n");
  ASSERT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link), fs::path(unit));
  EXPECT_TRUE(reg.service_install());  // already installed: nothing
  reg.service_uninstall();
  EXPECT_FALSE(reg.service_is_installed());
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
  reg.service_uninstall();
}

TEST_F(RegistryTest, ASystemWideInstallationStartsItsOwnProgramFile) {
  xdg_startup_registry system_wide{xdg_roots{dir.path() + "data", dir.path() + "config", false},
                                   "/usr/bin/vrxpar"};
  EXPECT_EQ(system_wide.installed_exe_path(), "/usr/bin/vrxpar");
  system_wide.logon_start_set();
  EXPECT_NE(text(system_wide.autostart_path()).find("\nExec=\"/usr/bin/vrxpar\" /logon\n"),
            std::string::npos);
  ASSERT_TRUE(system_wide.service_install());
  EXPECT_NE(text(system_wide.unit_path()).find("\nExecStart=\"/usr/bin/vrxpar\" /service\n"),
            std::string::npos);
  // Its data still lives in the user's install folder.
  EXPECT_EQ(system_wide.install_folder(), dir.path() + "data/VRX Tolvane/ZTA");
}

// What `systemd-analyze verify` says about a unit file with this text (empty: nothing), or
// nullopt when the tool is not installed here.
std::optional<std::string> verify_unit(const test::temp_folder& dir, const std::string& unit) {
  if (std::system("command -v systemd-analyze >/dev/null 2>&1") != 0) return std::nullopt;
  const std::string path = dir.path() + std::string(service_name) + ".service";
  std::ofstream(path) << unit;
  const test::command_result r = test::run_command("systemd-analyze verify '" + path + "' 2>&1");
  std::string out = r.out;
  if (!WIFEXITED(r.status) || WEXITSTATUS(r.status) != 0) out += "\n(exit status not 0)";
  return out;
}

TEST(ServiceUnit, IsANotifyServiceRestartedOnFailureThatSystemdAccepts) {
  test::temp_folder dir;
  const std::string unit = service_unit_text(ZTA_VRXPAR);
  for (const char* line : {"\nType=notify\n", "\nWatchdogSec=30\n", "\nRestart=on-failure\n"})
    EXPECT_NE(unit.find(line), std::string::npos) << line;
  const auto said = verify_unit(dir, unit);
  if (!said) GTEST_SKIP() << "systemd-analyze is not installed: the unit is not verified";
  EXPECT_EQ(*said, "") << unit;
  // The check would see a fault: a misspelt type is reported.
  std::string broken = unit;
  broken.replace(broken.find("Type=notify"), 11, "Type=notfy");
  EXPECT_NE(verify_unit(dir, broken)->find("notfy"), std::string::npos);
}

TEST(ExecValues, ReservedCharactersAreEscaped) {
  EXPECT_EQ(desktop_exec_value("/a b/x", "/logon"), "\"/a b/x\" /logon");
  EXPECT_EQ(desktop_exec_value("/a$\"b\\c%", "/logon"), "\"/a\\\\$\\\\\"b\\\\\\\\c%%\" /logon");
  EXPECT_EQ(unit_exec_value("/a b/x%y\"", "/service"), "\"/a b/x%%y\\\"\" /service");
}

TEST(XdgRoots, ComeFromTheEnvironment) {
  const std::string data = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
  const std::string config = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
  ::setenv("XDG_DATA_HOME", "/tmp/d", 1);
  ::setenv("XDG_CONFIG_HOME", "/tmp/c", 1);
  xdg_roots r = xdg_roots_from_environment();
  EXPECT_EQ(r.data_home, "/tmp/d");
  EXPECT_EQ(r.config_home, "/tmp/c");
  ::setenv("XDG_DATA_HOME", data.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
}

// systemd's tools stood in for by scripts that write down how they were called.
struct LingerTest : ::testing::TestWithParam<bool> {
  void SetUp() override {
    fs::create_directories(dir.path() + "bin");
    const std::string log = dir.path() + "calls";
    for (const char* tool : {"loginctl", "systemctl"}) {
      const std::string path = dir.path() + "bin/" + tool;
      std::ofstream(path) << "#!/bin/sh\necho \"" << tool << " $*\" >> '" << log
                          << "'\n[ \"$1\" = show-user ] && echo " << (GetParam() ? "yes" : "no")
                          << "\nexit 0\n";
      fs::permissions(path, fs::perms::owner_all);
    }
    old_path = std::getenv("PATH");
    old_user = std::getenv("USER") ? std::getenv("USER") : "";
    ::setenv("PATH", (dir.path() + "bin:" + old_path).c_str(), 1);
    ::setenv("USER", "shop", 1);
  }
  void TearDown() override {
    ::setenv("PATH", old_path.c_str(), 1);
    ::setenv("USER", old_user.c_str(), 1);
  }
  std::string calls() {
    std::ifstream in(dir.path() + "calls");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  test::temp_folder dir;
  std::string old_path, old_user;
  xdg_startup_registry reg{xdg_roots{dir.path() + "data", dir.path() + "config", true}};
};

TEST_P(LingerTest, TheUninstallTurnsLingeringOffOnlyWhenTheInstallTurnedItOn) {
  const bool was_on = GetParam();
  ASSERT_TRUE(reg.service_install());
  reg.service_uninstall();
  const std::string enable = "loginctl enable-linger shop\n";
  const std::string disable = "loginctl disable-linger shop\n";
  EXPECT_EQ(calls().find(enable) != std::string::npos, !was_on) << calls();
  EXPECT_EQ(calls().find(disable) != std::string::npos, !was_on) << calls();
  EXPECT_FALSE(fs::exists(reg.linger_marker_path()));
  // A second removal asks for nothing more.
  const std::string before = calls();
  reg.service_uninstall();
  EXPECT_EQ(calls().find("disable-linger", before.size()), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Cases, LingerTest, ::testing::Bool(), [](const auto& info) {
  return std::string(info.param ? "AlreadyOn" : "WasOff");
});

}  // namespace
}  // namespace zta
