// zta's command line: help, version and usage errors, each on its stream with its exit status.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/common/temp_folder.hpp"
#include "tests/tools/run_command.hpp"

namespace zta {
namespace {

using test::temp_folder;

enum class stream { out, err };

struct arg_case {
  std::string args;
  int status;
  stream says_on;
  const char* says;
};

TEST(ZtaCommandLine, EachCaseAnswersOnItsStreamWithItsStatus) {
  temp_folder dir;
  const std::string data = " --data " + dir.path();
  const arg_case cases[] = {
      {"", 2, stream::err, "Usage: zta COMMAND"},
      {"--help", 0, stream::out, "Usage: zta COMMAND"},
      {"-h", 0, stream::out, "Usage: zta COMMAND"},
      {"--version", 0, stream::out, "zta (ZTA Announcement Player) "},
      {"help", 0, stream::out, "Commands:"},
      {"help list", 0, stream::out, "Usage: zta list --data DIR [--json]"},
      {"list --help", 0, stream::out, "Usage: zta list --data DIR [--json]"},
      {"owner" + data + " --help", 0, stream::out, "--customer N"},
      {"unpack --help", 0, stream::out, "Exit status 3"},
      {"help frobnicate", 2, stream::err, "unknown command 'frobnicate'"},
      {"help list pack", 2, stream::err, "one command name"},
      {"frobnicate", 2, stream::err, "unknown command 'frobnicate'"},
      {"--frobnicate", 2, stream::err, "Try 'zta --help'"},
      {"list", 2, stream::err, "--data DIR is required"},
      {"settings", 2, stream::err, "--data DIR is required"},
      {"list" + data + " --bogus", 2, stream::err, "unknown option --bogus"},
      {"list --data", 2, stream::err, "needs a value"},
      {"chime 7 --out " + dir.file("c.raw"), 2, stream::err, "usage: zta chime"},
      {"list --data " + dir.file("absent"), 1, stream::err, "does not exist"},
  };
  for (const arg_case& c : cases) {
    const auto r = test::run_command_split(std::string(ZTA_TOOL) + " " + c.args, dir.file("err"));
    EXPECT_EQ(r.status, c.status) << c.args;
    const std::string& said = c.says_on == stream::out ? r.out : r.err;
    const std::string& quiet = c.says_on == stream::out ? r.err : r.out;
    EXPECT_NE(said.find(c.says), std::string::npos) << c.args << ": " << said;
    EXPECT_EQ(quiet, "") << c.args;
  }
}

// Every command of the list has its own help, by either spelling.
TEST(ZtaCommandLine, EveryListedCommandHasItsHelp) {
  temp_folder dir;
  const std::string tool = ZTA_TOOL;
  const auto all = test::run_command_split(tool + " --help", dir.file("err"));
  ASSERT_EQ(all.status, 0);
  std::istringstream lines(all.out.substr(all.out.find("Commands:\n") + 10));
  int listed = 0;
  for (std::string line; std::getline(lines, line) && !line.empty();) {
    std::istringstream words(line);
    std::string name;
    words >> name;
    std::string help_command = tool;
    help_command.append(" help ").append(name);
    std::string option_command = tool;
    option_command.append(" ").append(name).append(" --help");
    const auto by_help = test::run_command_split(help_command, dir.file("err"));
    const auto by_option = test::run_command_split(option_command, dir.file("err"));
    EXPECT_EQ(by_help.status, 0) << name;
    EXPECT_EQ(by_help.out.rfind("Usage: zta " + name + " ", 0), 0u) << by_help.out;
    EXPECT_EQ(by_option.out, by_help.out) << name;
    ++listed;
  }
  EXPECT_EQ(listed, 13);
}

}  // namespace
}  // namespace zta
