#pragma once
// What the installer registers with the desktop besides the start-up entries: the desktop
// shortcut, the file types of announcement packages, the menu group with its three items, the
// uninstall entry and the silencing of the desktop's event sounds; and what the uninstaller takes
// away again.
//
// Contract: every operation completes before it returns, on the caller's thread, and is silent on
// failure (the installer's next step runs in any case). Paths are absolute. Nothing here shows a
// message or asks the user.
#include <string>

namespace zta {

inline constexpr char shortcut_name[] = "ZTA Announcement Player";
inline constexpr char menu_group_name[] = "VRX Tolvane";
inline constexpr char menu_player_name[] = "ZTA Announcement Player";
inline constexpr char menu_manual_name[] = "Manual for ZTA Announcement Player";
inline constexpr char menu_uninstall_name[] = "Uninstall ZTA Announcement Player";
inline constexpr char uninstall_entry_name[] = "ZTA Announcement Player Uninstall";
inline constexpr char file_type_description[] = "In-Store Announcements File";
inline constexpr char shortcut_argument[] = "/open";

struct menu_items {
  std::string player;       // the installed program
  std::string manual;       // the installed manual
  std::string uninstaller;  // the installed uninstaller copy
};

class desktop_shell {
 public:
  virtual ~desktop_shell() = default;

  // A launcher named "ZTA Announcement Player" on the user's desktop, running `program` with
  // "/open".
  virtual void create_desktop_shortcut(const std::string& program) = 0;
  // ".vrx" and ".ann" as one type "In-Store Announcements File" with the program's icon, opened
  // by `program` with the file's name.
  virtual void register_file_types(const std::string& program) = 0;
  // The group "VRX Tolvane" with the player, its manual and the uninstaller.
  virtual void add_menu_items(const menu_items& items) = 0;
  // The record of how to remove the program; an existing one keeps what it says.
  virtual void add_uninstall_entry(const std::string& uninstaller) = 0;
  // Turns the desktop's event sounds off where the desktop has such a setting; else nothing.
  virtual void silence_event_sounds() = 0;

  virtual void remove_menu_items() = 0;
  virtual void remove_uninstall_entry() = 0;
  virtual void remove_desktop_shortcut() = 0;
};

}  // namespace zta
