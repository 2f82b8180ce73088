#include "platform/xdg/xdg_desktop_shell.hpp"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/file_io.hpp"
#include "platform/xdg/xdg_startup_registry.hpp"
#include "platform/xdg/xdg_tools.hpp"

namespace zta {

namespace fs = std::filesystem;

namespace {

constexpr char player_entry_file[] = "vrx-tolvane-zta.desktop";
constexpr char manual_entry_file[] = "vrx-tolvane-zta-manual.desktop";
constexpr char uninstall_menu_file[] = "vrx-tolvane-zta-uninstall.desktop";
constexpr char handler_entry_file[] = "vrx-tolvane-zta-open.desktop";
constexpr char uninstall_entry_file[] = "vrxpar-uninstall.desktop";
constexpr char directory_file[] = "vrx-tolvane.directory";
constexpr char merged_menu_file[] = "vrx-tolvane.menu";

std::string env_or(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? std::string(v) : fallback;
}

bool write_text(const std::string& path, const std::string& text, mode_t mode = 0644) {
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  const std::vector<std::uint8_t> bytes(text.begin(), text.end());
  return replace_file_atomically(path, bytes) && ::chmod(path.c_str(), mode) == 0;
}

void remove_file(const std::string& path) {
  std::error_code ec;
  fs::remove(path, ec);
}

// Exec= running `program`, with `argument` when there is one.
std::string exec_line(const std::string& program, const std::string& argument) {
  std::string v = desktop_exec_value(program, argument);
  while (!v.empty() && v.back() == ' ') v.pop_back();
  return v;
}

std::string entry(const std::string& name, const std::string& comment, const std::string& exec,
                  const std::string& more) {
  return "[Desktop Entry]\n"
         "Version=1.4\n"
         "Type=Application\n"
         "Name=" +
         name + "\nComment=" + comment + "\nExec=" + exec + "\nIcon=" + program_icon_name +
         "\nTerminal=false\n" + more;
}

// Text in XML character data.
std::string xml_escaped(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else
      out += c;
  }
  return out;
}

}  // namespace

xdg_shell_roots xdg_shell_roots_from_environment() {
  xdg_shell_roots r;
  r.home = env_or("HOME", "/tmp");
  r.data_home = env_or("XDG_DATA_HOME", r.home + "/.local/share");
  r.config_home = env_or("XDG_CONFIG_HOME", r.home + "/.config");
  return r;
}

std::string player_entry_text(const std::string& exec, bool handles_files) {
  std::string more = "Categories=AudioVideo;Audio;\n";
  if (handles_files) more += std::string("MimeType=") + announcements_mime_type + ";\n";
  return entry(menu_player_name, "Plays the shop's announcements", exec, more);
}

std::string mime_package_text() {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"") +
         announcements_mime_type +
         "\">\n"
         "    <comment>" +
         xml_escaped(file_type_description) +
         "</comment>\n"
         "    <icon name=\"" +
         program_icon_name +
         "\"/>\n"
         "    <glob pattern=\"*.vrx\"/>\n"
         "    <glob pattern=\"*.ann\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

std::string manual_entry_text(const std::string& manual) {
  return entry(menu_manual_name, "The user manual of the ZTA Announcement Player",
               exec_line("xdg-open", "") + " " + exec_line(manual, ""),
               "Categories=AudioVideo;Audio;\n");
}

std::string uninstall_menu_entry_text(const std::string& uninstaller) {
  return entry(menu_uninstall_name, "Removes the ZTA Announcement Player",
               exec_line(uninstaller, ""), "Categories=AudioVideo;Audio;\n");
}

std::string uninstall_entry_text(const std::string& uninstaller) {
  return entry(uninstall_entry_name, "Removes the ZTA Announcement Player",
               exec_line(uninstaller, ""), "NoDisplay=true\n");
}

std::string shortcut_text(const std::string& program) {
  return entry(shortcut_name, "Plays the shop's announcements",
               exec_line(program, shortcut_argument), "");
}

std::string directory_entry_text() {
  return std::string(
             "[Desktop Entry]\n"
             "Version=1.4\n"
             "Type=Directory\n"
             "Name=") +
         menu_group_name + "\nIcon=" + program_icon_name + "\n";
}

std::string merged_menu_text() {
  return std::string(
             "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
             " \"http://www.freedesktop.org/standards/menu-spec/menu-1.0.dtd\">\n"
             "<Menu>\n"
             "  <Name>Applications</Name>\n"
             "  <Menu>\n"
             "    <Name>") +
         menu_group_name +
         "</Name>\n"
         "    <Directory>" +
         directory_file +
         "</Directory>\n"
         "    <Include>\n"
         "      <Filename>" +
         player_entry_file +
         "</Filename>\n"
         "      <Filename>" +
         manual_entry_file +
         "</Filename>\n"
         "      <Filename>" +
         uninstall_menu_file +
         "</Filename>\n"
         "    </Include>\n"
         "  </Menu>\n"
         "</Menu>\n";
}

std::string xdg_desktop_shell::desktop_folder() const {
  std::string folder = roots_.desktop_folder;
  if (folder.empty()) {
    run_tool({"xdg-user-dir", "DESKTOP"},
             {{"XDG_CONFIG_HOME", roots_.config_home}, {"HOME", roots_.home}}, &folder);
    while (!folder.empty() && (folder.back() == '\n' || folder.back() == '/')) folder.pop_back();
  }
  std::error_code ec;
  // A desktop turned off points at the home folder itself: no shortcut then.
  if (folder.empty() || folder.front() != '/' || !fs::is_directory(folder, ec) ||
      fs::equivalent(folder, roots_.home, ec))
    return {};
  return folder;
}

std::string xdg_desktop_shell::shortcut_path() const {
  const std::string folder = desktop_folder();
  return folder.empty() ? std::string() : folder + "/" + shortcut_name + ".desktop";
}

std::string xdg_desktop_shell::applications_folder() const {
  return roots_.data_home + "/applications";
}

std::string xdg_desktop_shell::mime_package_path() const {
  return roots_.data_home + "/mime/packages/" + program_icon_name + ".xml";
}

std::string xdg_desktop_shell::icon_path() const {
  return roots_.data_home + "/icons/hicolor/48x48/apps/" + program_icon_name + ".png";
}

std::string xdg_desktop_shell::handler_entry_path() const {
  return applications_folder() + "/" + handler_entry_file;
}

std::string xdg_desktop_shell::uninstall_entry_path() const {
  return applications_folder() + "/" + uninstall_entry_file;
}

std::string xdg_desktop_shell::directory_entry_path() const {
  return roots_.data_home + "/desktop-directories/" + directory_file;
}

std::string xdg_desktop_shell::merged_menu_path() const {
  return roots_.config_home + "/menus/applications-merged/" + merged_menu_file;
}

std::vector<std::string> xdg_desktop_shell::menu_entry_paths() const {
  return {applications_folder() + "/" + player_entry_file,
          applications_folder() + "/" + manual_entry_file,
          applications_folder() + "/" + uninstall_menu_file};
}

void xdg_desktop_shell::write_icon() const {
  if (roots_.icon_png.empty()) return;
  std::error_code ec;
  fs::create_directories(fs::path(icon_path()).parent_path(), ec);
  replace_file_atomically(icon_path(), roots_.icon_png);
}

void xdg_desktop_shell::create_desktop_shortcut(const std::string& program) {
  const std::string path = shortcut_path();
  if (path.empty()) return;
  write_icon();
  // Desktops launch only executable launchers; GNOME also wants its trusted mark.
  if (write_text(path, shortcut_text(program), 0755))
    run_tool({"gio", "set", path, "metadata::trusted", "true"});
}

void xdg_desktop_shell::register_file_types(const std::string& program) {
  const tool_environment env = {{"XDG_DATA_HOME", roots_.data_home},
                                {"XDG_CONFIG_HOME", roots_.config_home}};
  write_icon();
  write_text(mime_package_path(), mime_package_text());
  run_tool({"update-mime-database", roots_.data_home + "/mime"}, env);
  std::string handler = player_entry_text(exec_line(program, "%f"), true);
  handler += "NoDisplay=true\n";
  write_text(handler_entry_path(), handler);
  run_tool({"update-desktop-database", applications_folder()}, env);
  run_tool({"xdg-mime", "default", handler_entry_file, announcements_mime_type}, env);
}

void xdg_desktop_shell::add_menu_items(const menu_items& items) {
  const std::vector<std::string> paths = menu_entry_paths();
  write_icon();
  write_text(paths[0], player_entry_text(exec_line(items.player, ""), false));
  write_text(paths[1], manual_entry_text(items.manual));
  write_text(paths[2], uninstall_menu_entry_text(items.uninstaller));
  write_text(directory_entry_path(), directory_entry_text());
  write_text(merged_menu_path(), merged_menu_text());
  run_tool({"update-desktop-database", applications_folder()},
           {{"XDG_DATA_HOME", roots_.data_home}});
}

void xdg_desktop_shell::add_uninstall_entry(const std::string& uninstaller) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(uninstall_entry_path(), ec))) return;
  write_text(uninstall_entry_path(), uninstall_entry_text(uninstaller));
}

void xdg_desktop_shell::silence_event_sounds() {
  const tool_environment env = {{"XDG_CONFIG_HOME", roots_.config_home}};
  // Only desktops that know the key have event sounds to turn off.
  if (run_tool({"gsettings", "get", "org.gnome.desktop.sound", "event-sounds"}, env))
    run_tool({"gsettings", "set", "org.gnome.desktop.sound", "event-sounds", "false"}, env);
}

void xdg_desktop_shell::remove_menu_items() {
  for (const std::string& p : menu_entry_paths()) remove_file(p);
  remove_file(directory_entry_path());
  remove_file(merged_menu_path());
  run_tool({"update-desktop-database", applications_folder()},
           {{"XDG_DATA_HOME", roots_.data_home}});
}

void xdg_desktop_shell::remove_uninstall_entry() {
  remove_file(uninstall_entry_path());
}

void xdg_desktop_shell::remove_desktop_shortcut() {
  const std::string path = shortcut_path();
  if (!path.empty()) remove_file(path);
}

}  // namespace zta
