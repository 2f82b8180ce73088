#pragma once
// A desktop shell and a start-up registry that only write down what they were asked, in order,
// into one shared log (tests of the installer and the uninstaller). The registry's install
// folder is a given folder.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/api/desktop_shell.hpp"
#include "platform/api/startup_registry.hpp"

namespace zta {

using call_log = std::vector<std::string>;

class recording_desktop_shell final : public desktop_shell {
 public:
  explicit recording_desktop_shell(call_log& log) : log_(log) {}

  void create_desktop_shortcut(const std::string& program) override {
    log_.push_back("shortcut " + program);
  }
  void register_file_types(const std::string& program) override {
    log_.push_back("file types " + program);
  }
  void add_menu_items(const menu_items& items) override {
    log_.push_back("menu " + items.player + " " + items.manual + " " + items.uninstaller);
  }
  void add_uninstall_entry(const std::string& uninstaller) override {
    log_.push_back("uninstall entry " + uninstaller);
  }
  void silence_event_sounds() override { log_.emplace_back("silence"); }
  void remove_menu_items() override { log_.emplace_back("remove menu"); }
  void remove_uninstall_entry() override { log_.emplace_back("remove uninstall entry"); }
  void remove_desktop_shortcut() override { log_.emplace_back("remove shortcut"); }

 private:
  call_log& log_;
};

class recording_startup_registry final : public startup_registry {
 public:
  recording_startup_registry(call_log& log, std::string folder)
      : log_(log), folder_(std::move(folder)) {}

  std::string install_folder() override {
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    return folder_;
  }
  std::string installed_exe_path() override { return folder_ + "/" + installed_program_name; }
  bool logon_start_is_set() override { return logon_; }
  void logon_start_set() override {
    log_.emplace_back("logon set");
    logon_ = true;
  }
  void logon_start_clear() override {
    log_.emplace_back("logon clear");
    logon_ = false;
  }
  bool service_is_installed() override { return service_; }
  bool service_install() override {
    log_.emplace_back("service install");
    service_ = true;
    return true;
  }
  void service_uninstall() override {
    log_.emplace_back("service uninstall");
    service_ = false;
  }

 private:
  call_log& log_;
  std::string folder_;
  bool logon_ = false;
  bool service_ = false;
};

}  // namespace zta
