#pragma once
// The registrations of an installation, and their removal, in their fixed order.
#include <string>

#include "platform/api/desktop_shell.hpp"
#include "platform/api/startup_registry.hpp"

namespace zta {

// Log-on start, desktop shortcut, file types, menu group, uninstall entry, event sounds. Each
// step is silent on failure; the next runs in any case.
void integrate_shell(startup_registry& registry, desktop_shell& shell,
                     const std::string& install_folder);

// Service and log-on start, menu items, uninstall entry, desktop shortcut; then, only when the
// install folder holds the installed program (so a second run deletes nothing), every file in
// it but the uninstaller copy. The file types, the folder and its subfolders stay. Returns the
// number of files deleted.
int uninstall(startup_registry& registry, desktop_shell& shell);

}  // namespace zta
