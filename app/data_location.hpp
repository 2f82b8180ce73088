#pragma once
// Where the program keeps its data. A copy installed from the setup file (or any copy in a folder
// of its own) uses the folder of its program file. A system-wide installation (the program in
// PREFIX/bin, its delivered files in PREFIX/share/zta-announcement-player) cannot write beside
// its program, so each user's data lives in that user's install folder
// ($XDG_DATA_HOME/VRX Tolvane/ZTA), filled from the shared files on first use.
#include <string>

#include "platform/api/startup_registry.hpp"

namespace zta {

inline constexpr char shared_data_subfolder[] = "share/zta-announcement-player";

struct data_location {
  std::string folder;  // the data folder, with a trailing '/'
  // A system-wide installation: the folder of its delivered files (manual, chimes, test package),
  // with a trailing '/'; empty otherwise.
  std::string shared_folder;
  bool system_wide() const { return !shared_folder.empty(); }
};

// The user's install folder is asked of `registry` only for a system-wide installation.
data_location locate_data_folder(const std::string& program_path, startup_registry& registry);
// The shared folder for a program file in PREFIX/bin, or empty when there is none.
std::string shared_folder_of(const std::string& program_path);

// Copies the delivered chimes and test package from the shared folder into the data folder
// where they are missing (a user's own copies are never replaced). Nothing for a copy that is
// not system-wide.
void seed_data_folder(const data_location& where);

}  // namespace zta
