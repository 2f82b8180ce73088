// The program's command line: its own options come out, switches and file names pass through,
// and help, version and usage errors answer on their stream with their exit status.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <string>
#include <vector>

#include "app/command_line.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta::test {
namespace {

namespace fs = std::filesystem;

command_line parsed(const std::vector<std::string>& args) {
  std::vector<const char*> argv{"vrxpar"};
  for (const auto& a : args) argv.push_back(a.c_str());
  return parse_command_line(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, TakesOutItsOwnOptionsAndPassesTheRestThrough) {
  // Relative names are taken from the current folder.
  temp_folder dir;
  dir.write("--odd name.ann", std::string("x"));
  const fs::path was = fs::current_path();
  fs::current_path(dir.root());
  const std::string odd = "--odd name.ann";
  struct parse_case {
    std::vector<std::string> args;
    std::vector<std::string> passed;
    std::string screenshot;
    bool help;
    bool version;
    const char* error;
  };
  const parse_case cases[] = {
      {{}, {}, "", false, false, ""},
      {{"/open"}, {"/open"}, "", false, false, ""},
      {{"/install"}, {"/install"}, "", false, false, ""},
      {{"/logon"}, {"/logon"}, "", false, false, ""},
      {{"/service"}, {"/service"}, "", false, false, ""},
      {{"C:\\My", "Files\\x.vrx"}, {"C:\\My", "Files\\x.vrx"}, "", false, false, ""},
      {{"--help"}, {}, "", true, false, ""},
      {{"/open", "--version"}, {"/open"}, "", false, true, ""},
      {{"--screenshot", "w.png", "/open"}, {"/open"}, "w.png", false, false, ""},
      {{"--screenshot"}, {}, "", false, false, "option '--screenshot' needs a file name"},
      {{"--bogus"}, {}, "", false, false, "unknown option '--bogus'"},
      {{"/open", "--help=x"}, {"/open"}, "", false, false, "unknown option '--help=x'"},
      // A file is a file, even when its name looks like an option.
      {{odd}, {odd}, "", false, false, ""},
      {{"--odd", "name.ann"}, {"--odd", "name.ann"}, "", false, false, ""},
      {{"--odd"}, {}, "", false, false, "unknown option '--odd'"},
  };
  for (const parse_case& c : cases) {
    const command_line cl = parsed(c.args);
    const std::string shown = c.args.empty() ? "(none)" : c.args.front();
    EXPECT_EQ(cl.error, c.error) << shown;
    if (!cl.error.empty()) continue;
    EXPECT_EQ(cl.args, c.passed) << shown;
    EXPECT_EQ(cl.screenshot, c.screenshot) << shown;
    EXPECT_EQ(cl.help, c.help) << shown;
    EXPECT_EQ(cl.version, c.version) << shown;
  }
  fs::current_path(was);
}

enum class stream { out, err };

TEST(CommandLine, TheProgramAnswersOnTheRightStreamWithTheRightStatus) {
  temp_folder dir;
  fs::copy_file(ZTA_VRXPAR, dir.file("SETUP"));
  fs::permissions(dir.file("SETUP"), fs::perms::owner_all);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  // Nothing here may reach a session: none of these starts a player.
  env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.path()));
  env.insert("XDG_DATA_HOME", QString::fromStdString(dir.file("share")));
  env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.file("config")));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  struct run_case {
    std::string program;
    QStringList args;
    int status;
    stream says_on;
    const char* says;
  };
  const run_case cases[] = {
      {ZTA_VRXPAR, {"--help"}, 0, stream::out, "Usage: vrxpar [FILE | /open"},
      {ZTA_VRXPAR, {"/open", "--help"}, 0, stream::out, "Exit status:"},
      {ZTA_VRXPAR, {"--version"}, 0, stream::out, "vrxpar (ZTA Announcement Player) "},
      {ZTA_VRXPAR, {"--bogus"}, 2, stream::err, "vrxpar: unknown option '--bogus'\nTry"},
      {ZTA_VRXPAR, {"--screenshot"}, 2, stream::err, "needs a file name"},
      // Help is answered before the file name chooses the installer.
      {dir.file("SETUP"), {"--help"}, 0, stream::out, "Usage: vrxpar"},
  };
  for (const run_case& c : cases) {
    const std::string shown = c.args.join(' ').toStdString();
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QString::fromStdString(c.program), c.args);
    ASSERT_TRUE(p.waitForFinished(30000)) << shown;
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << shown;
    EXPECT_EQ(p.exitCode(), c.status) << shown;
    const std::string out = p.readAllStandardOutput().toStdString();
    const std::string err = p.readAllStandardError().toStdString();
    const std::string& said = c.says_on == stream::out ? out : err;
    EXPECT_NE(said.find(c.says), std::string::npos) << shown << ": " << said;
    EXPECT_EQ(c.says_on == stream::out ? err : out, "") << shown;
  }
  EXPECT_FALSE(fs::exists(dir.file("share"))) << "a help or usage run touched the data folders";
}

}  // namespace
}  // namespace zta::test
