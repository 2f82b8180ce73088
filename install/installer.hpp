#pragma once
// The install application's work from set-up to the start of the installed program: the copying
// job, then (once every member is in place) the report of a wrong checksum, the shell
// integration, the settings file in the install folder and the start of the installed program
// with "/install". The window drives it one step per idle turn and shows what the host is told.
#include <cstdint>
#include <memory>
#include <string>

#include "install/install_job.hpp"
#include "install/install_origin.hpp"
#include "platform/api/desktop_shell.hpp"
#include "platform/api/startup_registry.hpp"

namespace zta {

// What the installer needs from its window and the system.
class install_host {
 public:
  virtual ~install_host() = default;
  virtual void show_progress(int percent) = 0;
  // "Corrupt Setup File"; returns once the user has answered.
  virtual void report_corrupt_setup_file() = 0;
  // A failure that ends the installation ("Installation failed: ..."); returns once answered.
  virtual void report_failure(const std::string& text) = 0;
  // Starts `program` with `argument` in `folder` and does not wait for it; false when it could
  // not be started.
  virtual bool start_program(const std::string& program, const std::string& argument,
                             const std::string& folder) = 0;
};

class installer {
 public:
  installer(std::string setup_path, install_origin origin, std::int32_t now,
            startup_registry& registry, desktop_shell& shell, install_host& host);

  // Set-up: the install folder and the first member. False when the installation ends at once
  // (the reason was reported to the host).
  bool begin();
  // One step; false when the installation has ended, one way or the other.
  bool step();

  // Every member is in place and the installed program was asked to start.
  bool installed() const { return installed_; }
  const install_job* job() const { return job_.get(); }

 private:
  void finish();

  std::string setup_path_;
  install_origin origin_;
  std::int32_t now_;
  startup_registry& registry_;
  desktop_shell& shell_;
  install_host& host_;
  std::unique_ptr<install_job> job_;
  bool installed_ = false;
};

}  // namespace zta
