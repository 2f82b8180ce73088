#pragma once
// Where the installer was started from, recorded in the load options of the installed settings
// so the announcements delivered beside it are found again: a setup file on a floppy mount
// point means the disk method with that drive, anywhere else the file method with the setup
// file's folder.
#include <cstdint>
#include <string>

#include "announcements/settings_block.hpp"
#include "platform/api/drive_mounts.hpp"

namespace zta {

struct install_origin {
  load_method method = load_method::file;
  std::uint8_t drive = 0;  // disk method: 0 = a:, 1 = b:
  std::string path;        // file method: the setup file's folder with its trailing '/'
  bool operator==(const install_origin&) const = default;
};

install_origin origin_of_setup(const std::string& setup_path, const drive_mounts& drives);

// Sets the load method and its drive or path (cut to the stored field, always terminated).
void apply_install_origin(load_options& o, const install_origin& origin);

// Writes the settings file of the install folder with the origin in its load options. An
// existing settings file there is read first, so a reinstallation keeps the announcements and
// settings it holds. Returns whether the file was written.
bool save_install_settings(const std::string& install_folder, const install_origin& origin,
                           std::int32_t now);

}  // namespace zta
