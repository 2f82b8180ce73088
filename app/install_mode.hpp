#pragma once
// The run modes chosen by the program's file name: the installer ("SETUP") and the uninstaller
// ("UNINST"). Each first closes a running player (the single-copy rule holds across modes).
#include <string>

namespace zta {

// Installs from `setup_path` (the running setup file); 0 once the installed copy was started.
int run_install_mode(const std::string& setup_path, int& argc, char** argv);
// Asks, then removes the installation; 0 when it was removed.
int run_uninstall_mode(int& argc, char** argv);

}  // namespace zta
