#pragma once
// A start-up registry that only remembers (tests): both entries as flags, every call in order,
// and a switch that makes the service installation fail as it does without the rights.
#include <string>
#include <vector>

#include "platform/api/startup_registry.hpp"

namespace zta {

class memory_startup_registry final : public startup_registry {
 public:
  std::string install_folder() override { return "/opt/zta"; }
  std::string installed_exe_path() override { return "/opt/zta/vrxpar"; }
  bool logon_start_is_set() override { return logon; }
  void logon_start_set() override {
    calls.emplace_back("logon_start_set");
    if (!fail_logon) logon = true;
  }
  void logon_start_clear() override {
    calls.emplace_back("logon_start_clear");
    logon = false;
  }
  bool service_is_installed() override { return service; }
  bool service_install() override {
    calls.emplace_back("service_install");
    if (service) return true;
    if (fail_service) return false;
    service = true;
    return true;
  }
  void service_uninstall() override {
    calls.emplace_back("service_uninstall");
    service = false;
  }

  bool logon = false;
  bool service = false;
  bool fail_logon = false;    // the entry cannot be written: nothing happens
  bool fail_service = false;  // the unit cannot be written
  std::vector<std::string> calls;
};

}  // namespace zta
