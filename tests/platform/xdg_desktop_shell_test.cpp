// The desktop integration in a private XDG home, checked with the desktop's own tools.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "install/shell_steps.hpp"
#include "platform/xdg/xdg_desktop_shell.hpp"
#include "platform/xdg/xdg_startup_registry.hpp"
#include "platform/xdg/xdg_tools.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the life of the object.
class scoped_env {
 public:
  scoped_env(const char* name, const std::string& value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~scoped_env() {
    if (had_)
      ::setenv(name_, old_.c_str(), 1);
    else
      ::unsetenv(name_);
  }
  scoped_env(const scoped_env&) = delete;
  scoped_env& operator=(const scoped_env&) = delete;

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

class XdgShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(home + "Desktop");
    fs::create_directories(config);
    // The desktop folder as xdg-user-dirs records it.
    std::ofstream(config + "/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n";
    fs::create_directories(program_folder);
  }
  xdg_shell_roots roots() const {
    return {home.substr(0, home.size() - 1), data, config, "", {0x89, 'P', 'N', 'G'}};
  }
  tool_environment query_env() const {
    return {{"XDG_DATA_HOME", data},
            {"XDG_CONFIG_HOME", config},
            {"XDG_DATA_DIRS", "/usr/share"},
            {"XDG_CURRENT_DESKTOP", "GNOME"},
            {"HOME", home}};
  }
  std::string query(const std::vector<std::string>& args) const {
    std::string out;
    EXPECT_TRUE(run_tool(args, query_env(), &out)) << args.back();
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
  }
  static bool valid_desktop_file(const std::string& path, std::string& messages) {
    return run_tool({"desktop-file-validate", path}, {}, &messages) &&
           messages.find("error") == std::string::npos;
  }
  static std::string text(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  test::temp_folder dir;
  std::string home = dir.file("home/");
  std::string data = dir.file("home/.local/share");
  std::string config = dir.file("home/.config");
  // A folder with a space and a character the Exec key reserves.
  std::string program_folder = dir.file("home/.local/share/VRX Tolvane/Z$TA");
  std::string program = program_folder + "/vrxpar";
  xdg_desktop_shell shell{roots()};
};

TEST_F(XdgShellTest, EveryDesktopFileIsValid) {
  shell.create_desktop_shortcut(program);
  shell.register_file_types(program);
  shell.add_menu_items({program, program_folder + "/manual.html", program_folder + "/uninst"});
  shell.add_uninstall_entry(program_folder + "/uninst");
  std::vector<std::string> files = shell.menu_entry_paths();
  files.push_back(shell.shortcut_path());
  files.push_back(shell.handler_entry_path());
  files.push_back(shell.uninstall_entry_path());
  files.push_back(shell.directory_entry_path());
  for (const std::string& f : files) {
    ASSERT_TRUE(fs::exists(f)) << f;
    std::string messages;
    EXPECT_TRUE(valid_desktop_file(f, messages)) << f << "\n" << messages;
  }
  // The shortcut: on the desktop xdg-user-dir names, executable, opening the window.
  EXPECT_EQ(shell.shortcut_path(), home + "Desktop/ZTA Announcement Player.desktop");
  struct stat st {};
  ASSERT_EQ(::stat(shell.shortcut_path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
  EXPECT_NE(
      text(shell.shortcut_path())
          .find("\nName=ZTA Announcement Player\n"
                "Comment=Plays the shop's announcements\n"
                "Exec=\"" +
                program_folder.substr(0, program_folder.size() - 4) + "Z\\\\$TA/vrxpar\" /open\n"),
      std::string::npos)
      << text(shell.shortcut_path());
  EXPECT_NE(text(shell.menu_entry_paths()[1]).find("\nName=Manual for ZTA Announcement Player\n"),
            std::string::npos);
  EXPECT_NE(text(shell.menu_entry_paths()[2]).find("\nName=Uninstall ZTA Announcement Player\n"),
            std::string::npos);
  EXPECT_NE(text(shell.directory_entry_path()).find("\nName=VRX Tolvane\n"), std::string::npos);
}

TEST_F(XdgShellTest, BothExtensionsAreOneTypeOpenedByTheProgram) {
  shell.register_file_types(program);
  dir.write("shop.vrx", std::string("not empty"));
  dir.write("test.ann", std::string("not empty"));
  EXPECT_EQ(query({"xdg-mime", "query", "filetype", dir.file("shop.vrx")}),
            "application/x-zta-announcements");
  EXPECT_EQ(query({"xdg-mime", "query", "filetype", dir.file("test.ann")}),
            "application/x-zta-announcements");
  EXPECT_NE(query({"gio", "info", "-a", "standard::content-type", dir.file("shop.vrx")})
                .find("standard::content-type: application/x-zta-announcements"),
            std::string::npos);
  // The type's description and icon, as the database holds them.
  const std::string type_file = data + "/mime/application/x-zta-announcements.xml";
  EXPECT_NE(text(type_file).find("<comment>In-Store Announcements File</comment>"),
            std::string::npos)
      << text(type_file);
  EXPECT_NE(
      text(data + "/mime/icons").find("application/x-zta-announcements:zta-announcement-player\n"),
      std::string::npos);
  EXPECT_EQ(query({"xdg-mime", "query", "default", "application/x-zta-announcements"}),
            "vrx-tolvane-zta-open.desktop");
  const std::string handler = text(shell.handler_entry_path());
  EXPECT_NE(handler.find("/vrxpar\" %f\n"), std::string::npos) << handler;
  EXPECT_NE(handler.find("MimeType=application/x-zta-announcements;\n"), std::string::npos);
  EXPECT_NE(handler.find("NoDisplay=true\n"), std::string::npos);
  EXPECT_TRUE(fs::exists(shell.icon_path()));
}

TEST_F(XdgShellTest, AnExistingUninstallEntryKeepsWhatItSays) {
  fs::create_directories(shell.applications_folder());
  const std::string own = "[Desktop Entry]\nType=Application\nName=Kept\nExec=/bin/true\n";
  std::ofstream(shell.uninstall_entry_path()) << own;
  shell.add_uninstall_entry(program_folder + "/uninst");
  EXPECT_EQ(text(shell.uninstall_entry_path()), own);
  shell.remove_uninstall_entry();
  EXPECT_FALSE(fs::exists(shell.uninstall_entry_path()));
  shell.add_uninstall_entry(program_folder + "/uninst");
  const std::string written = text(shell.uninstall_entry_path());
  EXPECT_NE(written.find("\nName=ZTA Announcement Player Uninstall\n"), std::string::npos);
  EXPECT_NE(written.find("/uninst\"\n"), std::string::npos) << written;
}

TEST_F(XdgShellTest, UninstallTakesAwayTheEntriesButKeepsTheFileTypes) {
  fs::create_directories(program_folder);
  dir.write("home/.local/share/VRX Tolvane/Z$TA/vrxpar", std::string("x"));
  dir.write("home/.local/share/VRX Tolvane/Z$TA/uninst", std::string("x"));
  xdg_startup_registry registry(xdg_roots{data, config, false});
  integrate_shell(registry, shell, registry.install_folder());
  ASSERT_TRUE(fs::exists(shell.shortcut_path()));
  ASSERT_TRUE(registry.logon_start_is_set());
  uninstall(registry, shell);
  EXPECT_FALSE(registry.logon_start_is_set());
  for (const std::string& p : shell.menu_entry_paths()) EXPECT_FALSE(fs::exists(p)) << p;
  EXPECT_FALSE(fs::exists(shell.directory_entry_path()));
  EXPECT_FALSE(fs::exists(shell.merged_menu_path()));
  EXPECT_FALSE(fs::exists(shell.uninstall_entry_path()));
  EXPECT_FALSE(fs::exists(home + "Desktop/ZTA Announcement Player.desktop"));
  EXPECT_TRUE(fs::exists(shell.mime_package_path()));
  EXPECT_TRUE(fs::exists(shell.handler_entry_path()));
}

TEST_F(XdgShellTest, NoShortcutWithoutADesktopFolder) {
  struct desktop_case {
    const char* name;
    std::string line;
  };
  for (const auto& c : {desktop_case{"missing folder", "XDG_DESKTOP_DIR=\"$HOME/Nowhere\"\n"},
                        desktop_case{"desktop turned off", "XDG_DESKTOP_DIR=\"$HOME/\"\n"}}) {
    std::ofstream(config + "/user-dirs.dirs") << c.line;
    EXPECT_EQ(shell.shortcut_path(), "") << c.name;
    shell.create_desktop_shortcut(program);
    shell.remove_desktop_shortcut();
    EXPECT_FALSE(fs::exists(home + "ZTA Announcement Player.desktop")) << c.name;
    EXPECT_FALSE(fs::exists(home + "Nowhere")) << c.name;
  }
}

TEST_F(XdgShellTest, EventSoundsAreTurnedOffOnlyWhereTheKeyExists) {
  scoped_env backend("GSETTINGS_BACKEND", "keyfile");
  const std::string keyfile = config + "/glib-2.0/settings/keyfile";
  {
    scoped_env no_schemas("XDG_DATA_DIRS", dir.file("empty"));
    shell.silence_event_sounds();
    EXPECT_FALSE(fs::exists(keyfile));
  }
  scoped_env schemas("XDG_DATA_DIRS", "/usr/share");
  shell.silence_event_sounds();
  EXPECT_NE(text(keyfile).find("[org/gnome/desktop/sound]\nevent-sounds=false"), std::string::npos)
      << text(keyfile);
}

}  // namespace
}  // namespace zta
