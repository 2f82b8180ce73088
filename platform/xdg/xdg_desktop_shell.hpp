#pragma once
// desktop_shell for a freedesktop session:
//   desktop shortcut  "<desktop folder>/ZTA Announcement Player.desktop" (executable, and marked
//                     trusted through gio where the desktop keeps such marks); the desktop folder
//                     from `xdg-user-dir DESKTOP`, skipped when it does not exist
//   file types        the MIME type application/x-zta-announcements ("*.vrx", "*.ann") in
//                     $XDG_DATA_HOME/mime/packages, its icon, and a hidden handler entry running
//                     the program with the file (%f), made the default with `xdg-mime default`
//   menu group        three entries in $XDG_DATA_HOME/applications, the group's directory entry
//                     and a merged menu "VRX Tolvane" in $XDG_CONFIG_HOME/menus/applications-merged
//   uninstall entry   a hidden entry "ZTA Announcement Player Uninstall" running the uninstaller
//   event sounds      org.gnome.desktop.sound event-sounds = false, where that key exists
// The tools run with XDG_DATA_HOME and XDG_CONFIG_HOME set to the roots, so what they write
// lands beside the files.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/api/desktop_shell.hpp"

namespace zta {

inline constexpr char announcements_mime_type[] = "application/x-zta-announcements";
inline constexpr char program_icon_name[] = "zta-announcement-player";

struct xdg_shell_roots {
  std::string home;                    // $HOME
  std::string data_home;               // $XDG_DATA_HOME or ~/.local/share
  std::string config_home;             // $XDG_CONFIG_HOME or ~/.config
  std::string desktop_folder;          // empty: ask xdg-user-dir
  std::vector<std::uint8_t> icon_png;  // the program's icon, 48 x 48
};

xdg_shell_roots xdg_shell_roots_from_environment();

class xdg_desktop_shell final : public desktop_shell {
 public:
  explicit xdg_desktop_shell(xdg_shell_roots roots) : roots_(std::move(roots)) {}

  void create_desktop_shortcut(const std::string& program) override;
  void register_file_types(const std::string& program) override;
  void add_menu_items(const menu_items& items) override;
  void add_uninstall_entry(const std::string& uninstaller) override;
  void silence_event_sounds() override;
  void remove_menu_items() override;
  void remove_uninstall_entry() override;
  void remove_desktop_shortcut() override;

  // The desktop folder, or empty when there is none to put a shortcut in.
  std::string desktop_folder() const;
  std::string shortcut_path() const;
  std::string applications_folder() const;
  std::string mime_package_path() const;
  std::string icon_path() const;
  std::string handler_entry_path() const;
  std::string uninstall_entry_path() const;
  std::string directory_entry_path() const;
  std::string merged_menu_path() const;
  // The three menu entries: player, manual, uninstaller.
  std::vector<std::string> menu_entry_paths() const;

 private:
  void write_icon() const;

  xdg_shell_roots roots_;
};

// The texts of the files (the Debian package installs the same ones).
std::string player_entry_text(const std::string& exec, bool handles_files);
std::string mime_package_text();
std::string manual_entry_text(const std::string& manual);
std::string uninstall_menu_entry_text(const std::string& uninstaller);
std::string uninstall_entry_text(const std::string& uninstaller);
std::string shortcut_text(const std::string& program);
std::string directory_entry_text();
std::string merged_menu_text();

}  // namespace zta
