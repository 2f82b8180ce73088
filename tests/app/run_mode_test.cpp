#include <gtest/gtest.h>

#include "app/run_mode.hpp"

namespace zta {
namespace {

struct plan_case {
  const char* label;
  const char* program;
  std::vector<std::string> args;
  run_mode mode;
  bool shown;
  std::optional<std::string> handover;
  std::optional<std::string> self;
};

void PrintTo(const plan_case& c, std::ostream* os) {
  *os << c.label;
}

class PlanStartTest : public ::testing::TestWithParam<plan_case> {};

TEST_P(PlanStartTest, DecidesModeWindowAndTexts) {
  const plan_case& c = GetParam();
  start_plan p = plan_start(c.program, c.args, "/opt/zta/");
  EXPECT_EQ(p.mode, c.mode);
  EXPECT_EQ(p.handover_text, c.handover);
  if (c.mode == run_mode::player || c.mode == run_mode::service) {
    EXPECT_EQ(p.self_command, c.self);
  }
  // The headless player has no window to show: only the player's flag means anything.
  if (c.mode == run_mode::player) {
    EXPECT_EQ(p.show_window, c.shown);
  }
}

const plan_case plan_cases[] = {
    {"no_argument_starts_hidden", "/opt/zta/vrxpar", {}, run_mode::player, false, {}, {}},
    {"open_shows_and_hands_nothing", "/opt/zta/vrxpar", {"/open"}, run_mode::player, true, {}, {}},
    {"install_loads_test_ann",
     "/opt/zta/vrxpar",
     {"/install"},
     run_mode::player,
     true,
     "/install",
     "/opt/zta/test.ann"},
    {"logon_hidden", "/opt/zta/vrxpar", {"/logon"}, run_mode::player, false, "/logon", "/logon"},
    {"service_headless",
     "/opt/zta/vrxpar",
     {"/service"},
     run_mode::service,
     false,
     "/service",
     "/service"},
    {"service_without_slash_is_service",
     "/opt/zta/vrxpar",
     {"xservice"},
     run_mode::service,
     true,
     "xservice",
     "xservice"},
    {"file_split_at_space_is_joined",
     "/opt/zta/vrxpar",
     {"/home/shop/My", "Files/x.vrx"},
     run_mode::player,
     true,
     "/home/shop/My Files/x.vrx",
     "/home/shop/My Files/x.vrx"},
    {"switch_is_case_sensitive",
     "/opt/zta/vrxpar",
     {"/OPEN"},
     run_mode::player,
     true,
     "/OPEN",
     "/OPEN"},
    {"only_first_argument_counts",
     "/opt/zta/vrxpar",
     {"a.vrx", "/open"},
     run_mode::player,
     true,
     "a.vrx /open",
     "a.vrx /open"},
    {"setup_name_any_case", "/media/b/Setup.bin", {}, run_mode::install, false, {}, {}},
    {"setup_wins_over_uninst", "/x/uninst-setup", {}, run_mode::install, false, {}, {}},
    {"uninstaller", "/x/uninst", {"/open"}, run_mode::uninstall, false, {}, {}},
    {"folder_name_does_not_count", "/SETUP/vrxpar", {}, run_mode::player, false, {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, PlanStartTest, ::testing::ValuesIn(plan_cases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(CommandFile, InstallHandedOverMeansTheTestFile) {
  EXPECT_EQ(command_file("/install", "/opt/zta/"), "/opt/zta/test.ann");
  EXPECT_EQ(command_file("/home/shop/a.vrx", "/opt/zta/"), "/home/shop/a.vrx");
}

TEST(BackgroundCommand, LogonAndServiceAnywhereInTheText) {
  EXPECT_TRUE(is_background_command("/logon"));
  EXPECT_TRUE(is_background_command("x /service y"));
  EXPECT_FALSE(is_background_command("/open"));
  EXPECT_FALSE(is_background_command("/home/shop/test.ann"));
}

}  // namespace
}  // namespace zta

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

namespace fs = std::filesystem;

// Runs in `folder` as the current folder and goes back after.
class in_folder {
 public:
  explicit in_folder(const fs::path& folder) : back_(fs::current_path()) {
    fs::current_path(folder);
  }
  ~in_folder() { fs::current_path(back_); }

 private:
  fs::path back_;
};

TEST(PlanStartFiles, ExistingFilesAreFilesWhateverSwitchTheirPathHolds) {
  test::temp_folder dir;
  for (const char* sub : {"service", "open", "install", "logon", "My Files"}) {
    fs::create_directories(dir.root() / sub);
    std::ofstream(dir.root() / sub / "x.vrx") << "package";
  }
  struct file_case {
    const char* label;
    std::vector<std::string> args;
    std::string file;
  };
  const std::string root = dir.root().string();
  const file_case cases[] = {
      {"service", {root + "/service/x.vrx"}, root + "/service/x.vrx"},
      {"open", {root + "/open/x.vrx"}, root + "/open/x.vrx"},
      {"install", {root + "/install/x.vrx"}, root + "/install/x.vrx"},
      {"logon", {root + "/logon/x.vrx"}, root + "/logon/x.vrx"},
      {"split_at_a_space", {root + "/My", "Files/x.vrx"}, root + "/My Files/x.vrx"},
      {"first_of_two", {root + "/service/x.vrx", "extra"}, root + "/service/x.vrx"},
  };
  for (const file_case& c : cases) {
    start_plan p = plan_start("/opt/zta/vrxpar", c.args, "/opt/zta/");
    EXPECT_EQ(p.mode, run_mode::player) << c.label;
    EXPECT_TRUE(p.show_window) << c.label;
    EXPECT_EQ(p.handover_text, c.file) << c.label;
    EXPECT_EQ(p.self_command, c.file) << c.label;
    EXPECT_FALSE(is_background_command(c.file)) << c.label;
    EXPECT_EQ(command_file(c.file, "/opt/zta/"), c.file) << c.label;
  }
  // Switches that name no file keep working as written (desktop entries, the unit file).
  EXPECT_EQ(plan_start("/opt/zta/vrxpar", {"/service"}, "/opt/zta/").mode, run_mode::service);
  EXPECT_FALSE(plan_start("/opt/zta/vrxpar", {"/logon"}, "/opt/zta/").show_window);
  EXPECT_EQ(plan_start("/opt/zta/vrxpar", {"/install"}, "/opt/zta/").self_command,
            "/opt/zta/test.ann");
}

TEST(PlanStartFiles, RelativeFileIsMadeAbsoluteFromTheFolderItWasGivenIn) {
  test::temp_folder dir;
  std::ofstream(dir.root() / "shop.vrx") << "package";
  const std::string expected = fs::canonical(dir.root()).string() + "/shop.vrx";
  in_folder here(dir.root());
  start_plan p = plan_start("/opt/zta/vrxpar", {"shop.vrx"}, "/opt/zta/");
  EXPECT_EQ(p.handover_text, expected);
  EXPECT_EQ(p.self_command, expected);
}

}  // namespace
}  // namespace zta
