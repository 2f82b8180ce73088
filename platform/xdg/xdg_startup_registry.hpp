#pragma once
// startup_registry for a freedesktop session: an XDG autostart entry for the log-on start and a
// systemd user unit (enabled through its default.target.wants link, plus lingering) for the
// start before log-on.
#include <memory>
#include <string>

#include "platform/api/startup_registry.hpp"

namespace zta {

struct xdg_roots {
  std::string data_home;    // $XDG_DATA_HOME or ~/.local/share
  std::string config_home;  // $XDG_CONFIG_HOME or ~/.config
  // Whether to tell a running systemd (daemon-reload, lingering). Off in tests.
  bool manage_systemd = false;
};

// The roots from the environment; systemd is managed when it runs (/run/systemd/system).
xdg_roots xdg_roots_from_environment();

class xdg_startup_registry final : public startup_registry {
 public:
  // `program`: the program the entries start; empty for the install folder's "vrxpar". A
  // system-wide installation names its own program file.
  explicit xdg_startup_registry(xdg_roots roots, std::string program = {})
      : roots_(std::move(roots)), program_(std::move(program)) {}

  std::string install_folder() override;
  std::string installed_exe_path() override;
  bool logon_start_is_set() override;
  void logon_start_set() override;
  void logon_start_clear() override;
  bool service_is_installed() override;
  bool service_install() override;
  void service_uninstall() override;

  std::string autostart_path() const;
  std::string unit_path() const;
  std::string wants_link_path() const;
  // Present while lingering is on because service_install turned it on.
  std::string linger_marker_path() const;
  const xdg_roots& roots() const { return roots_; }

 private:
  xdg_roots roots_;
  std::string program_;
};

// The Exec= value of a desktop entry running `program` with `argument` (quoted and escaped).
std::string desktop_exec_value(const std::string& program, const std::string& argument);
// The ExecStart= value of a systemd unit running `program` with `argument`.
std::string unit_exec_value(const std::string& program, const std::string& argument);
// The text of the autostart entry and of the unit.
std::string logon_entry_text(const std::string& program);
std::string service_unit_text(const std::string& program);

// Starts the installed service again (after a desktop copy that took over from it ends); false
// when systemd is not running or the start could not be asked for.
bool restart_service(const xdg_roots& roots);

}  // namespace zta
