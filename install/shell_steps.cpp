#include "install/shell_steps.hpp"

#include <strings.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include "install/install_members.hpp"

namespace zta {

namespace fs = std::filesystem;

void integrate_shell(startup_registry& registry, desktop_shell& shell,
                     const std::string& install_folder) {
  const std::string program = install_folder + "/" + installed_program_name;
  registry.logon_start_set();
  shell.create_desktop_shortcut(program);
  shell.register_file_types(program);
  shell.add_menu_items(
      {program, install_folder + "/" + manual_name, install_folder + "/" + uninstaller_name});
  shell.add_uninstall_entry(install_folder + "/" + uninstaller_name);
  shell.silence_event_sounds();
}

int uninstall(startup_registry& registry, desktop_shell& shell) {
  const std::string folder = registry.install_folder();
  registry.service_uninstall();
  registry.logon_start_clear();
  shell.remove_menu_items();
  shell.remove_uninstall_entry();
  shell.remove_desktop_shortcut();

  std::error_code ec;
  if (!fs::is_regular_file(fs::path(folder) / installed_program_name, ec)) return 0;
  // Listed first: a folder changed while it is read may skip names.
  std::vector<fs::path> doomed;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (::strcasecmp(name.c_str(), uninstaller_name) == 0) continue;
    std::error_code type_ec;
    if (it->symlink_status(type_ec).type() == fs::file_type::directory || type_ec) continue;
    doomed.push_back(it->path());
  }
  int deleted = 0;
  for (const fs::path& p : doomed) {
    std::error_code remove_ec;
    if (fs::remove(p, remove_ec)) ++deleted;
  }
  return deleted;
}

}  // namespace zta
