#include "announcements/station.hpp"

#include <unistd.h>

namespace zta {

station::station(std::string folder, std::int32_t startup_now)
    : data_folder(std::move(folder)), load_opts(default_load_options(startup_now)) {
  if (data_folder.empty()) data_folder = "./";
  if (data_folder.back() != '/') data_folder += '/';
  // The cached clock starts from a forced 0 so its derived values are always filled.
  clock.set(0);
  clock.refresh_now(startup_now);
}

std::string data_folder_of(const std::string& program_path) {
  const auto slash = program_path.find_last_of('/');
  if (slash != std::string::npos) return program_path.substr(0, slash + 1);
  char buf[4096];
  if (::getcwd(buf, sizeof buf) == nullptr) return "./";
  std::string cwd = buf;
  if (cwd.empty() || cwd.back() != '/') cwd += '/';
  return cwd;
}

}  // namespace zta
