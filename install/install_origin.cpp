#include "install/install_origin.hpp"

#include <algorithm>

#include "announcements/settings_store.hpp"
#include "announcements/station.hpp"
#include "base/file_io.hpp"

namespace zta {

install_origin origin_of_setup(const std::string& setup_path, const drive_mounts& drives) {
  install_origin o;
  const std::string folder = data_folder_of(setup_path);
  for (int drive = 0; drive < 2; ++drive) {
    const std::string mount = drives.mount_point(drive);
    if (!mount.empty() && folder.compare(0, mount.size(), mount) == 0) {
      o.method = load_method::disk;
      o.drive = static_cast<std::uint8_t>(drive);
      return o;
    }
  }
  o.path = folder;
  return o;
}

void apply_install_origin(load_options& o, const install_origin& origin) {
  o.method = origin.method;
  if (origin.method == load_method::disk) {
    o.drive = origin.drive;
    return;
  }
  o.file_path.fill('\0');
  const std::size_t n = std::min(origin.path.size(), o.file_path.size() - 1);
  std::copy_n(origin.path.begin(), n, o.file_path.begin());
}

bool save_install_settings(const std::string& install_folder, const install_origin& origin,
                           std::int32_t now) {
  station st(install_folder, now);
  if (file_exists(st.data_folder + settings_file_name)) load_settings(st);
  apply_install_origin(st.load_opts, origin);
  return save_settings(st);
}

}  // namespace zta
