#include "app/data_location.hpp"

#include <filesystem>
#include <system_error>
#include <vector>

#include "announcements/station.hpp"
#include "base/file_io.hpp"
#include "install/install_members.hpp"

namespace zta {

namespace fs = std::filesystem;

std::string shared_folder_of(const std::string& program_path) {
  const fs::path program(program_path);
  const fs::path bin = program.parent_path();
  if (bin.filename() != "bin") return {};
  const fs::path shared = bin.parent_path() / shared_data_subfolder;
  std::error_code ec;
  if (!fs::is_directory(shared, ec)) return {};
  return shared.string() + "/";
}

data_location locate_data_folder(const std::string& program_path, startup_registry& registry) {
  data_location where;
  where.shared_folder = shared_folder_of(program_path);
  if (where.shared_folder.empty()) {
    where.folder = data_folder_of(program_path);
    return where;
  }
  where.folder = registry.install_folder();
  if (where.folder.empty() || where.folder.back() != '/') where.folder += '/';
  return where;
}

void seed_data_folder(const data_location& where) {
  if (!where.system_wide()) return;
  std::error_code ec;
  fs::create_directories(where.folder, ec);
  // The members after the program and its manual: the three chimes and the test package.
  for (std::size_t i = 3; i < install_members.size(); ++i) {
    const std::string name = install_members[i].name;
    const std::string to = where.folder + name;
    if (fs::exists(fs::symlink_status(to, ec))) continue;
    std::vector<std::uint8_t> bytes;
    const std::string from = where.shared_folder + name;
    if (fs::is_regular_file(from, ec) && read_whole_file(from, bytes))
      replace_file_atomically(to, bytes);
  }
}

}  // namespace zta
