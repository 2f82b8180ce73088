// The installer's and the uninstaller's windows, driven in this process with answered boxes.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "app/install_window.hpp"
#include "install/installer.hpp"
#include "install/shell_steps.hpp"
#include "platform/sim/fixed_drive_mounts.hpp"
#include "platform/sim/recording_desktop_shell.hpp"
#include "tests/app/app_test_env.hpp"
#include "tests/install/setup_fixture.hpp"
#include "ui/progbar.hpp"

namespace zta::test {
namespace {

namespace fs = std::filesystem;

struct started_program {
  std::string program, argument, folder;
};

class InstallWindowTest : public ::testing::Test {
 protected:
  message_box_fn box_fn() { return answering_boxes(boxes, answers); }
  program_starter starter() {
    return [this](const std::string& p, const std::string& a, const std::string& f) {
      started.push_back({p, a, f});
      return true;
    };
  }
  // Runs the window until it has ended.
  static bool run_to_end(const bool& ended) {
    for (int waited = 0; waited < 60000 && !ended; waited += 10) QTest::qWait(10);
    return ended;
  }
  std::string folder() const { return dir.file("ZTA"); }
  // Installs from `setup` in a window that answers its boxes; returns whether it was installed.
  bool install_in_window(const std::string& setup) {
    install_window w(box_fn(), starter());
    installer inst(setup, origin_of_setup(setup, drives), 0, registry, shell, w);
    bool ended = false;
    QObject::connect(&w, &install_window::ended, [&ended] { ended = true; });
    w.show();
    w.run(inst);
    EXPECT_TRUE(run_to_end(ended));
    return inst.installed();
  }

  temp_folder dir;
  fixed_drive_mounts drives{"/media/floppy0/", "/media/floppy1/"};
  call_log log;
  recording_startup_registry registry{log, folder()};
  recording_desktop_shell shell{log};
  std::vector<shown_box> boxes;
  std::vector<box_answer> answers;
  std::vector<started_program> started;
};

TEST_F(InstallWindowTest, ShowsItsDialogAndInstallsStepByStepThenStartsTheProgram) {
  const std::string setup = write_setup(dir, setup_members::typical());
  install_window w(box_fn(), starter());
  installer inst(setup, origin_of_setup(setup, drives), 0, registry, shell, w);
  bool ended = false;
  QObject::connect(&w, &install_window::ended, [&ended] { ended = true; });
  w.show();
  EXPECT_EQ(w.windowTitle(), "Install");
  const auto labels = w.findChildren<QLabel*>();
  const bool has_text = std::any_of(labels.begin(), labels.end(), [](QLabel* l) {
    return l->text() == "Installing the VRX Harmona Announcement Player.\nPlease wait...";
  });
  EXPECT_TRUE(has_text);
  EXPECT_EQ(w.client()->stop_button()->text(), "Stop");
  EXPECT_FALSE(w.windowIcon().isNull());
  w.run(inst);
  EXPECT_FALSE(ended);  // nothing happens before the event loop turns
  ASSERT_TRUE(run_to_end(ended));
  EXPECT_TRUE(inst.installed());
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(w.client()->bar()->percent(), 100);
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].program, folder() + "/vrxpar");
  EXPECT_EQ(started[0].argument, "/install");
  EXPECT_EQ(started[0].folder, folder());
}

TEST_F(InstallWindowTest, StopEndsTheInstallationInTheMiddle) {
  setup_members m = setup_members::typical();
  m.program = member_bytes(200 * 16384, 9);
  const std::string setup = write_setup(dir, m);
  auto w = std::make_unique<install_window>(box_fn(), starter());
  auto inst =
      std::make_unique<installer>(setup, origin_of_setup(setup, drives), 0, registry, shell, *w);
  bool ended = false;
  QObject::connect(w.get(), &install_window::ended, [&ended] { ended = true; });
  w->show();
  w->run(*inst);
  for (int waited = 0; waited < 30000 && w->client()->bar()->percent() < 2; waited += 1)
    QTest::qWait(1);
  ASSERT_FALSE(ended);
  QTest::mouseClick(w->client()->stop_button(), Qt::LeftButton);
  EXPECT_TRUE(ended);
  QTest::qWait(50);  // no step runs after Stop
  EXPECT_FALSE(inst->installed());
  inst.reset();  // the process ends: the member being written goes
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(started.empty());
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder())) names.push_back(e.path().filename());
  EXPECT_TRUE(names.empty()) << names.front();
}

TEST_F(InstallWindowTest, AWrongChecksumShowsCorruptSetupFileAndTheInstallationGoesOn) {
  const std::string setup = write_setup(dir, setup_members::typical());
  bytes file = dir.read("SETUP");
  file[100] ^= 0x01;  // a byte of the program
  dir.write("SETUP", file);
  answers = {box_answer::ok};
  EXPECT_TRUE(install_in_window(setup));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, box_kind::ok_warning);
  EXPECT_EQ(boxes[0].caption, "Corrupt Setup File");
  EXPECT_EQ(boxes[0].text,
            "The setup file is corrupt.\n\nPlease contact your supplier or download the software "
            "again from www.vrxtolvane.example");
  EXPECT_EQ(started.size(), 1u);
}

TEST_F(InstallWindowTest, AMemberThatCannotBeCreatedIsReportedAndNothingIsStarted) {
  const std::string setup = write_setup(dir, setup_members::typical());
  fs::create_directories(folder() + "/test.ann/x");
  EXPECT_FALSE(install_in_window(setup));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Install");
  EXPECT_EQ(boxes[0].text.toStdString(),
            "Installation failed: cannot replace " + folder() + "/test.ann: Is a directory");
  EXPECT_TRUE(started.empty());
  EXPECT_TRUE(log.empty());  // no shell integration
}

class UninstallWindowTest : public InstallWindowTest {
 protected:
  void SetUp() override {
    fs::create_directories(folder());
    for (const char* name : {"vrxpar", "uninst", "vrxpa.dat", "afl000.aud"})
      dir.write(std::string("ZTA/") + name, std::string(name));
  }
  int run_uninstaller() {
    uninstall_window w(box_fn(), [this] { deleted = uninstall(registry, shell); });
    bool ended = false;
    QObject::connect(&w, &uninstall_window::ended, [&ended] { ended = true; });
    w.show();
    EXPECT_EQ(w.windowTitle(), "Uninstall ZTA Announcement Player");
    w.run();
    EXPECT_TRUE(run_to_end(ended));
    return w.removed() ? deleted : -1;
  }
  int deleted = 0;
};

TEST_F(UninstallWindowTest, AsksFirstAndOnlyYesRemoves) {
  for (box_answer no : {box_answer::no, box_answer::cancel}) {
    answers = {no};
    EXPECT_EQ(run_uninstaller(), -1);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(fs::exists(folder() + "/vrxpa.dat"));
  }
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].kind, box_kind::yes_no_warning);
  EXPECT_EQ(boxes[0].caption, "Confirm Uninstall!");
  EXPECT_EQ(boxes[0].text, "Are you sure you want to remove the ZTA Announcement Player?");
}

TEST_F(UninstallWindowTest, RunTwiceTheSecondDeletesNothing) {
  answers = {box_answer::yes, box_answer::yes};
  EXPECT_EQ(run_uninstaller(), 3);
  EXPECT_EQ(log.size(), 5u);
  dir.write("ZTA/vrxpa.dat", std::string("new"));
  EXPECT_EQ(run_uninstaller(), 0);
  EXPECT_EQ(log.size(), 10u);
  EXPECT_TRUE(fs::exists(folder() + "/vrxpa.dat"));
  EXPECT_TRUE(fs::exists(folder() + "/uninst"));
}

}  // namespace
}  // namespace zta::test
