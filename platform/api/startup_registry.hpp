#pragma once
// Automatic start of the player: at log-on (an autostart entry) and before anyone logs on (a
// user service with lingering). Used by the Settings dialog and the installer.
//
// Every operation completes before it returns, on the caller's thread. Failures are silent
// except where a result is returned; nothing here shows a message.
#include <string>

namespace zta {

inline constexpr char logon_entry_name[] = "ZTAAnnLogon";
inline constexpr char service_name[] = "ZTAAnnService";
inline constexpr char installed_program_name[] = "vrxpar";

class startup_registry {
 public:
  virtual ~startup_registry() = default;

  // The install folder with every missing level created (failures to create are ignored); no
  // trailing '/'.
  virtual std::string install_folder() = 0;
  // install_folder() + "/vrxpar", or the program file of a system-wide installation.
  virtual std::string installed_exe_path() = 0;

  // Only the entry's existence is tested.
  virtual bool logon_start_is_set() = 0;
  // Writes the entry starting the installed program with "/logon", unless one exists.
  virtual void logon_start_set() = 0;
  virtual void logon_start_clear() = 0;

  virtual bool service_is_installed() = 0;
  // Installs and enables the service starting the installed program with "/service", unless it
  // is installed; false when it could not be written.
  virtual bool service_install() = 0;
  // Disables and removes the service; a missing one is not an error.
  virtual void service_uninstall() = 0;
};

}  // namespace zta
