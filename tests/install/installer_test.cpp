// The install application's order of work: copying, the checksum report, the shell integration,
// the installed settings and the start of the installed program.
#include <gtest/gtest.h>

#include <filesystem>

#include "announcements/settings_store.hpp"
#include "install/install_origin.hpp"
#include "install/installer.hpp"
#include "platform/sim/fixed_drive_mounts.hpp"
#include "platform/sim/recording_desktop_shell.hpp"
#include "tests/common/announcement_maker.hpp"
#include "tests/install/setup_fixture.hpp"

namespace zta::test {
namespace {

namespace fs = std::filesystem;

class recording_host final : public install_host {
 public:
  explicit recording_host(call_log& log) : log_(log) {}
  void show_progress(int percent) override { percents.push_back(percent); }
  void report_corrupt_setup_file() override { log_.emplace_back("corrupt"); }
  void report_failure(const std::string& text) override { log_.push_back("failure " + text); }
  bool start_program(const std::string& program, const std::string& argument,
                     const std::string& folder) override {
    // The settings are in place before the program starts.
    log_.push_back("start " + program + " " + argument + " in " + folder +
                   (fs::exists(folder + "/vrxpa.dat") ? " (settings saved)" : ""));
    return true;
  }
  std::vector<int> percents;

 private:
  call_log& log_;
};

class InstallerTest : public ::testing::Test {
 protected:
  std::string folder() const { return dir.file("data/VRX Tolvane/ZTA"); }
  installer make(const std::string& setup) {
    return installer(setup, origin_of_setup(setup, drives), 1'000'000, registry, shell, host);
  }
  void run(installer& inst) {
    if (!inst.begin()) return;
    while (inst.step()) {
    }
  }
  station saved() {
    station st(folder() + "/");
    load_settings(st);
    return st;
  }

  temp_folder dir;
  fixed_drive_mounts drives{"/media/floppy0/", "/media/floppy1/"};
  call_log log;
  recording_startup_registry registry{log, folder()};
  recording_desktop_shell shell{log};
  recording_host host{log};
};

TEST_F(InstallerTest, AfterTheMembersTheShellIntegrationThenTheSettingsThenTheStart) {
  const std::string setup = write_setup(dir, setup_members::typical());
  installer inst = make(setup);
  run(inst);
  EXPECT_TRUE(inst.installed());
  const std::string f = folder();
  EXPECT_EQ(log, (call_log{"logon set", "shortcut " + f + "/vrxpar", "file types " + f + "/vrxpar",
                           "menu " + f + "/vrxpar " + f + "/manual.html " + f + "/uninst",
                           "uninstall entry " + f + "/uninst", "silence",
                           "start " + f + "/vrxpar /install in " + f + " (settings saved)"}));
  // The progress is shown before every step, ending at 100.
  ASSERT_FALSE(host.percents.empty());
  EXPECT_EQ(host.percents.back(), 100);
  // The settings remember where the installer was started from.
  const station st = saved();
  EXPECT_EQ(st.load_opts.method, load_method::file);
  EXPECT_EQ(std::string(st.load_opts.file_path.data()), dir.path());
  EXPECT_EQ(st.load_opts.last_attempt, 1'000'000);  // defaults at the installer's start
  EXPECT_EQ(st.settings, settings_block{});
}

TEST_F(InstallerTest, AWrongChecksumIsReportedFirstAndTheInstallationCompletes) {
  const std::string setup = write_setup(dir, setup_members::typical());
  bytes file = dir.read("SETUP");
  file[file.size() - 24] ^= 0x10;  // o1 moves within the file: members shift, the sum differs
  file[file.size() - 4] ^= 0x01;
  dir.write("SETUP", file);
  installer inst = make(setup);
  run(inst);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front(), "corrupt");
  EXPECT_EQ(log.size(), 8u);
  EXPECT_EQ(log[1], "logon set");
  EXPECT_TRUE(inst.installed());
}

TEST_F(InstallerTest, AFailedMemberIsReportedWithoutShellIntegration) {
  const std::string setup = write_setup(dir, setup_members::typical());
  fs::create_directories(folder() + "/chimes2.aud/x");
  installer inst = make(setup);
  run(inst);
  EXPECT_FALSE(inst.installed());
  EXPECT_EQ(log, (call_log{"failure Installation failed: cannot replace " + folder() +
                           "/chimes2.aud: Is a directory"}));
  EXPECT_FALSE(fs::exists(folder() + "/vrxpa.dat"));
}

TEST_F(InstallerTest, AnUnusableTrailerIsReportedAsCorruptAndNothingIsInstalled) {
  dir.write("SETUP", with_trailer(member_bytes(100, 1), {{50, 40, 60, 70, 80}, 0}));
  installer inst = make(dir.file("SETUP"));
  EXPECT_FALSE(inst.begin());
  EXPECT_FALSE(inst.step());
  EXPECT_EQ(log, call_log{"corrupt"});
  EXPECT_TRUE(fs::is_empty(folder()));
}

TEST_F(InstallerTest, AReinstallationKeepsTheAnnouncementsAndSettingsOfTheInstallFolder) {
  fs::create_directories(folder());
  station before(folder() + "/", 5);
  before.settings.announcement_level = 80;
  before.load_opts.method = load_method::ftp;
  before.load_opts.update_interval = 86400;
  ann_blk mine = always_current("My recording", 3);
  mine.user_made = 1;
  before.content.list.push_back(mine);
  ASSERT_TRUE(save_settings(before));
  const bytes clip(100, 0x22);
  dir.write("data/VRX Tolvane/ZTA/afl003.aud", clip);
  const std::string setup = write_setup(dir, setup_members::typical());
  installer inst = make(setup);
  run(inst);
  ASSERT_TRUE(inst.installed());
  const station st = saved();
  EXPECT_EQ(st.settings.announcement_level, 80);
  ASSERT_EQ(st.content.list.count(), 1);
  EXPECT_EQ(st.content.list[0].name_text(), "My recording");
  EXPECT_EQ(dir.read("data/VRX Tolvane/ZTA/afl003.aud"), clip);
  // The load method now points where the installer was started from; the rest is kept.
  EXPECT_EQ(st.load_opts.method, load_method::file);
  EXPECT_EQ(std::string(st.load_opts.file_path.data()), dir.path());
  EXPECT_EQ(st.load_opts.update_interval, 86400);
}

struct origin_case {
  const char* name;
  std::string setup_path;
  install_origin expected;
};

class InstallOrigin : public ::testing::TestWithParam<origin_case> {};

TEST_P(InstallOrigin, FloppyMountPointsMeanTheDiskMethodAnywhereElseTheFileMethod) {
  const fixed_drive_mounts drives{"/media/floppy0/", "/media/floppy1/"};
  EXPECT_EQ(origin_of_setup(GetParam().setup_path, drives), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstallOrigin,
    ::testing::Values(
        origin_case{"DriveA", "/media/floppy0/SETUP", {load_method::disk, 0, ""}},
        origin_case{"DriveBSubfolder", "/media/floppy1/dist/SETUP", {load_method::disk, 1, ""}},
        origin_case{"Elsewhere", "/srv/dist/SETUP", {load_method::file, 0, "/srv/dist/"}},
        origin_case{"LookAlikeFolder",
                    "/media/floppy00/SETUP",
                    {load_method::file, 0, "/media/floppy00/"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InstallOriginField, ALongFolderIsCutToTheStoredFieldAndTerminated) {
  load_options o = default_load_options(0);
  o.drive = 1;
  apply_install_origin(o, {load_method::file, 0, "/" + std::string(400, 'd') + "/"});
  EXPECT_EQ(o.method, load_method::file);
  EXPECT_EQ(std::string(o.file_path.data()).size(), 259u);
  EXPECT_EQ(o.drive, 1);  // the drive choice of the file method's settings is left alone
  apply_install_origin(o, {load_method::disk, 0, ""});
  EXPECT_EQ(o.method, load_method::disk);
  EXPECT_EQ(o.drive, 0);
}

}  // namespace
}  // namespace zta::test
