#include "platform/xdg/xdg_startup_registry.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "base/file_io.hpp"
#include "platform/xdg/xdg_tools.hpp"

namespace zta {

namespace fs = std::filesystem;

namespace {

std::string env_or(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? std::string(v) : fallback;
}

std::string home_folder() {
  return env_or("HOME", "/tmp");
}

bool write_text(const std::string& path, const std::string& text) {
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  return replace_file_atomically(path, bytes);
}

std::string user_name() {
  return env_or("USER", env_or("LOGNAME", ""));
}

}  // namespace

xdg_roots xdg_roots_from_environment() {
  xdg_roots r;
  r.data_home = env_or("XDG_DATA_HOME", home_folder() + "/.local/share");
  r.config_home = env_or("XDG_CONFIG_HOME", home_folder() + "/.config");
  std::error_code ec;
  r.manage_systemd = fs::is_directory("/run/systemd/system", ec);
  return r;
}

std::string desktop_exec_value(const std::string& program, const std::string& argument) {
  // Inside double quotes the Exec key reserves " ` $ and \ (escaped with a backslash); the
  // string-value level then doubles every backslash again.
  std::string quoted = "\"";
  for (char c : program) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string out;
  for (char c : quoted) {
    if (c == '\\') out += '\\';
    if (c == '%') out += '%';  // field codes
    out += c;
  }
  return out + " " + argument;
}

std::string unit_exec_value(const std::string& program, const std::string& argument) {
  std::string out = "\"";
  for (char c : program) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '%') out += '%';  // specifiers
    out += c;
  }
  return out + "\" " + argument;
}

std::string logon_entry_text(const std::string& program) {
  return "[Desktop Entry]\n"
         "Version=1.4\n"
         "Type=Application\n"
         "Name=ZTA Announcement Player\n"
         "Comment=Plays the shop's announcements from the notification area\n"
         "Exec=" +
         desktop_exec_value(program, "/logon") +
         "\n"
         "Terminal=false\n"
         "NoDisplay=true\n"
         "X-GNOME-Autostart-enabled=true\n";
}

std::string service_unit_text(const std::string& program) {
  return "[Unit]\n"
         "Description=ZTA Announcement Player (before log-on)\n"
         "\n"
         "[Service]\n"
         "Type=notify\n"
         "ExecStart=" +
         unit_exec_value(program, "/service") +
         "\n"
         "WatchdogSec=30\n"
         "Restart=on-failure\n"
         "RestartSec=5\n"
         "\n"
         "[Install]\n"
         "WantedBy=default.target\n";
}

std::string xdg_startup_registry::install_folder() {
  fs::path p = fs::path(roots_.data_home) / "VRX Tolvane" / "ZTA";
  std::error_code ec;
  fs::create_directories(p, ec);
  return p.string();
}

std::string xdg_startup_registry::installed_exe_path() {
  if (!program_.empty()) return program_;
  return install_folder() + "/" + installed_program_name;
}

std::string xdg_startup_registry::autostart_path() const {
  return roots_.config_home + "/autostart/" + logon_entry_name + ".desktop";
}

std::string xdg_startup_registry::unit_path() const {
  return roots_.config_home + "/systemd/user/" + service_name + ".service";
}

std::string xdg_startup_registry::wants_link_path() const {
  return roots_.config_home + "/systemd/user/default.target.wants/" + service_name + ".service";
}

std::string xdg_startup_registry::linger_marker_path() const {
  return roots_.config_home + "/systemd/user/" + service_name + ".linger";
}

bool xdg_startup_registry::logon_start_is_set() {
  std::error_code ec;
  return fs::exists(autostart_path(), ec);
}

void xdg_startup_registry::logon_start_set() {
  if (logon_start_is_set()) return;
  write_text(autostart_path(), logon_entry_text(installed_exe_path()));
}

void xdg_startup_registry::logon_start_clear() {
  std::error_code ec;
  fs::remove(autostart_path(), ec);
}

bool xdg_startup_registry::service_is_installed() {
  std::error_code ec;
  return fs::exists(unit_path(), ec);
}

bool xdg_startup_registry::service_install() {
  if (service_is_installed()) return true;
  if (!write_text(unit_path(), service_unit_text(installed_exe_path()))) return false;
  std::error_code ec;
  fs::create_directories(fs::path(wants_link_path()).parent_path(), ec);
  fs::remove(wants_link_path(), ec);
  fs::create_symlink(unit_path(), wants_link_path(), ec);
  if (ec) return false;
  if (roots_.manage_systemd) {
    run_tool({"systemctl", "--user", "daemon-reload"});
    const std::string user = user_name();
    std::string linger;
    run_tool({"loginctl", "show-user", user, "--property=Linger", "--value"}, {}, &linger);
    // Lingering that was on already belongs to someone else: the uninstall leaves it on.
    if (!user.empty() && linger.rfind("yes", 0) != 0 &&
        run_tool({"loginctl", "enable-linger", user}))
      write_text(linger_marker_path(), user + "\n");
  }
  return true;
}

void xdg_startup_registry::service_uninstall() {
  std::error_code ec;
  fs::remove(wants_link_path(), ec);
  fs::remove(unit_path(), ec);
  if (roots_.manage_systemd) {
    run_tool({"systemctl", "--user", "daemon-reload"});
    const std::string user = user_name();
    if (fs::exists(linger_marker_path(), ec) && !user.empty())
      run_tool({"loginctl", "disable-linger", user});
  }
  fs::remove(linger_marker_path(), ec);
}

bool restart_service(const xdg_roots& roots) {
  if (!roots.manage_systemd) return false;
  return run_tool(
      {"systemctl", "--user", "--no-block", "start", std::string(service_name) + ".service"});
}

}  // namespace zta
