// The Debian package: its fields and files, the desktop files it installs, and the program's data
// folder when it runs from the system-wide place.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "announcements/settings_store.hpp"
#include "base/file_io.hpp"
#include "tests/common/temp_folder.hpp"
#include "tests/tools/run_command.hpp"

extern char** environ;

namespace zta::test {
namespace {

namespace fs = std::filesystem;

std::string shell_word(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// The package the ctest fixture built (ZTA_TEST_DEB), or one made here when the binary runs by
// itself; unpacked into a fresh root for each test.
class DebPackageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    made = new temp_folder;
    const char* given = std::getenv("ZTA_TEST_DEB");
    if (given != nullptr && *given != '\0') {
      deb = given;
      return;
    }
    const auto r =
        run_command("cpack -G DEB --config " + shell_word(ZTA_CPACK_CONFIG) + " -B " +
                    shell_word(made->path()) + " -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip 2>&1");
    cpack_output = r.out;
    deb = made->file("zta-announcement-player_" ZTA_VERSION "_amd64.deb");
  }
  static void TearDownTestSuite() {
    delete made;
    made = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(fs::exists(deb)) << deb << "\n" << cpack_output;
    ASSERT_EQ(run_command("dpkg -x " + shell_word(deb) + " " + shell_word(root())).status, 0);
  }
  static std::string field(const std::string& name) {
    auto r = run_command("dpkg-deb -f " + shell_word(deb) + " " + name);
    while (!r.out.empty() && r.out.back() == '\n') r.out.pop_back();
    return r.out;
  }
  std::string root() const { return work.file("root"); }

  temp_folder work;
  static temp_folder* made;
  static std::string cpack_output, deb;
};

temp_folder* DebPackageTest::made = nullptr;
std::string DebPackageTest::cpack_output;
std::string DebPackageTest::deb;

TEST_F(DebPackageTest, FieldsNameTheProgramAndTheLibrariesItLinks) {
  EXPECT_EQ(field("Package"), "zta-announcement-player");
  EXPECT_EQ(field("Version"), ZTA_VERSION);
  EXPECT_EQ(field("Architecture"), "amd64");
  EXPECT_EQ(field("Section"), "sound");
  EXPECT_FALSE(field("Maintainer").empty());
  // Computed from the binaries: versioned entries for what they link.
  const std::string depends = field("Depends");
  for (const char* lib : {"libc6 (>= ", "libqt6widgets6 (>= ", "libqt6network6 (>= ", "libasound2",
                          "libsndfile1", "libcurl4"})
    EXPECT_NE(depends.find(lib), std::string::npos) << lib << " in " << depends;
}

TEST_F(DebPackageTest, HoldsTheProgramsTheSharedFilesAndTheDesktopFiles) {
  std::set<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root()))
    if (!e.is_directory()) files.insert(fs::relative(e.path(), root()).string());
  for (const char* f :
       {"usr/bin/vrxpar", "usr/bin/zta", "usr/share/zta-announcement-player/manual.html",
        "usr/share/zta-announcement-player/chimes1.aud",
        "usr/share/zta-announcement-player/chimes2.aud",
        "usr/share/zta-announcement-player/chimes3.aud",
        "usr/share/zta-announcement-player/test.ann",
        "usr/share/applications/zta-announcement-player.desktop",
        "usr/share/mime/packages/zta-announcement-player.xml",
        "usr/share/icons/hicolor/16x16/apps/zta-announcement-player.png",
        "usr/share/icons/hicolor/32x32/apps/zta-announcement-player.png",
        "usr/share/icons/hicolor/48x48/apps/zta-announcement-player.png"})
    EXPECT_EQ(files.count(f), 1u) << f;
  for (const std::string& f : files) {
    const bool known = f.starts_with("usr/bin/") || f.starts_with("usr/share/applications/") ||
                       f.starts_with("usr/share/icons/hicolor/") ||
                       f.starts_with("usr/share/mime/packages/") ||
                       f.starts_with("usr/share/zta-announcement-player/") ||
                       f.starts_with("usr/share/man/") || f.starts_with("usr/share/doc/");
    EXPECT_TRUE(known) << f;
  }
  struct stat st {};
  ASSERT_EQ(::stat((root() + "/usr/bin/vrxpar").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
}

// Made by help2man from each program's --help: the page names the program, says how it is
// called and carries the exit statuses.
TEST_F(DebPackageTest, HoldsAManPageForEachProgramMadeFromItsHelp) {
  struct page_case {
    const char* file;
    const char* name_line;
    const char* synopsis;
    const char* carries;
  };
  const page_case pages[] = {
      {"vrxpar.1.gz", "vrxpar \\- unattended in-store announcement player",
       "/open | /install | /logon | /service", "another copy holds the instance name"},
      {"zta.1.gz", "zta \\- data folder, package and setup file tool", "COMMAND", "usage error"},
  };
  for (const page_case& p : pages) {
    const std::string path = root() + "/usr/share/man/man1/" + p.file;
    const auto page = run_command("zcat " + shell_word(path));
    ASSERT_EQ(page.status, 0) << p.file;
    EXPECT_NE(page.out.find(".SH NAME\n"), std::string::npos) << p.file;
    EXPECT_NE(page.out.find(p.name_line), std::string::npos) << page.out;
    const std::size_t synopsis = page.out.find(".SH SYNOPSIS\n");
    ASSERT_NE(synopsis, std::string::npos) << page.out;
    EXPECT_NE(page.out.find(p.synopsis, synopsis), std::string::npos) << page.out;
    EXPECT_NE(page.out.find(p.carries), std::string::npos) << page.out;
    EXPECT_NE(page.out.find("ZTA Announcement Player " ZTA_VERSION), std::string::npos) << p.file;
  }
}

TEST_F(DebPackageTest, TheDesktopEntryIsValidAndTheFileTypeResolves) {
  const std::string entry = root() + "/usr/share/applications/zta-announcement-player.desktop";
  const auto valid = run_command("desktop-file-validate " + shell_word(entry) + " 2>&1");
  EXPECT_EQ(valid.status, 0) << valid.out;
  EXPECT_EQ(valid.out.find("error"), std::string::npos) << valid.out;
  // What the package's trigger does on a real system.
  ASSERT_EQ(run_command("update-mime-database " + shell_word(root() + "/usr/share/mime") +
                        " >/dev/null 2>&1")
                .status,
            0);
  std::ofstream(work.file("shop.vrx")) << "not empty";
  const auto type =
      run_command("XDG_CURRENT_DESKTOP=GNOME XDG_DATA_HOME=" + shell_word(work.file("nohome")) +
                  " XDG_DATA_DIRS=" + shell_word(root() + "/usr/share") +
                  ":/usr/share xdg-mime query " + "filetype " + shell_word(work.file("shop.vrx")));
  EXPECT_EQ(type.out, "application/x-zta-announcements\n");
}

TEST_F(DebPackageTest, TheSystemWideProgramKeepsItsDataInTheUsersInstallFolder) {
  temp_folder session;
  for (const char* sub : {"run", "played", "data", "config", "home"})
    ::mkdir(session.file(sub).c_str(), 0700);
  std::vector<std::string> env_text;
  for (char** e = environ; *e != nullptr; ++e) env_text.emplace_back(*e);
  for (const std::string& kv :
       {"XDG_RUNTIME_DIR=" + session.file("run"), "XDG_DATA_HOME=" + session.file("data"),
        "XDG_CONFIG_HOME=" + session.file("config"), "HOME=" + session.file("home"),
        std::string("QT_QPA_PLATFORM=offscreen"), "ZTA_AUDIO=sim:" + session.file("played")})
    env_text.push_back(kv);
  std::vector<char*> envp;
  envp.reserve(env_text.size() + 1);
  for (std::string& e : env_text) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string program = root() + "/usr/bin/vrxpar";
  std::string arg = "/install";
  char* argv[] = {program.data(), arg.data(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);

  // It loads the shared test announcements ("/install") and saves them in the user's folder.
  const std::string folder = session.file("data/VRX Tolvane/ZTA/");
  int loaded = 0;
  for (int waited = 0; waited < 60000 && loaded == 0; waited += 200) {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::vector<std::uint8_t> bytes;
    if (!read_whole_file(folder + "vrxpa.dat", bytes)) continue;
    station st(folder);
    decode_settings_file(bytes, st);
    loaded = st.content.list.count();
  }
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_GT(loaded, 0);
  for (const char* name : {"chimes1.aud", "chimes2.aud", "chimes3.aud", "test.ann"})
    EXPECT_TRUE(fs::exists(folder + name)) << name;
  // Nothing was written beside the program.
  std::set<std::string> bin;
  for (const auto& e : fs::directory_iterator(root() + "/usr/bin")) bin.insert(e.path().filename());
  EXPECT_EQ(bin, (std::set<std::string>{"vrxpar", "zta"}));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace zta::test
