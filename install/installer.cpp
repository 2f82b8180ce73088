#include "install/installer.hpp"

#include "install/install_texts.hpp"
#include "install/shell_steps.hpp"

namespace zta {

installer::installer(std::string setup_path, install_origin origin, std::int32_t now,
                     startup_registry& registry, desktop_shell& shell, install_host& host)
    : setup_path_(std::move(setup_path)),
      origin_(std::move(origin)),
      now_(now),
      registry_(registry),
      shell_(shell),
      host_(host) {}

bool installer::begin() {
  job_ = std::make_unique<install_job>(setup_path_, registry_.install_folder());
  switch (job_->begin()) {
    case install_begin::started:
      return true;
    case install_begin::corrupt:
      host_.report_corrupt_setup_file();
      return false;
    case install_begin::unreadable:
    case install_begin::create_failed:
      host_.report_failure(job_->failure());
      return false;
  }
  return false;
}

bool installer::step() {
  if (!job_) return false;
  host_.show_progress(job_->percent());
  if (job_->step()) return true;
  if (job_->complete())
    finish();
  else if (!job_->failure().empty())
    host_.report_failure(job_->failure());
  return false;
}

void installer::finish() {
  if (!job_->checksum_matches()) host_.report_corrupt_setup_file();
  const std::string& folder = job_->install_folder();
  integrate_shell(registry_, shell_, folder);
  save_install_settings(folder, origin_, now_);
  host_.start_program(folder + "/" + installed_program_name, installed_start_argument, folder);
  installed_ = true;
}

}  // namespace zta
