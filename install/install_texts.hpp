#pragma once
// The fixed texts of the installer and the uninstaller, and the names of what they install.
namespace zta {

inline constexpr char install_window_title[] = "Install";
inline constexpr char uninstall_window_title[] = "Uninstall ZTA Announcement Player";
inline constexpr char install_dialog_text[] =
    "Installing the VRX Harmona Announcement Player.\nPlease wait...";
inline constexpr char install_stop_text[] = "Stop";

inline constexpr char distributor_web_address[] = "www.vrxtolvane.example";
inline constexpr char corrupt_setup_caption[] = "Corrupt Setup File";
inline constexpr char corrupt_setup_text[] =
    "The setup file is corrupt.\n\nPlease contact your supplier or download the software again "
    "from www.vrxtolvane.example";

inline constexpr char confirm_uninstall_caption[] = "Confirm Uninstall!";
inline constexpr char confirm_uninstall_text[] =
    "Are you sure you want to remove the ZTA Announcement Player?";

// Starts the text of a failure the user must act on; the file and the reason follow.
inline constexpr char install_failed_caption[] = "Install";
inline constexpr char install_failed_prefix[] = "Installation failed: ";

// The argument the installed program is started with.
inline constexpr char installed_start_argument[] = "/install";

}  // namespace zta
