#pragma once
// The one place that chooses a backend for every platform interface: the members of `services`
// that are still empty get this machine's backend (sound from ZTA_AUDIO, see audio_backends.hpp;
// the system clock; the XDG start-up entries; the floppy mount points; the environment's locale;
// libcurl for FTP; libsndfile for WAV data that is not 16-bit PCM; the systemd notification
// socket the environment names).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/desktop_shell.hpp"
#include "platform/api/platform_services.hpp"

namespace zta {

// False, with `error` set, when ZTA_AUDIO names no backend: the devices are then ALSA's, and the
// other members are filled anyway. `sound_fallback`: the folder of the simulated device that
// stands in when ZTA_AUDIO is unset and ALSA has no playback device (empty: none stands in).
bool fill_system_services(platform_services& services, const char* zta_audio, std::string& error,
                          const std::string& sound_fallback = {});

// What the installer and the uninstaller use (no sound devices): the start-up entries, the
// desktop integration (`icon_png`: the program's icon for the desktop's entries), the floppy
// mount points and the clock.
struct install_services {
  std::unique_ptr<startup_registry> registry;
  std::unique_ptr<desktop_shell> shell;
  std::unique_ptr<drive_mounts> drives;
  std::unique_ptr<wall_clock> clock;
};
install_services make_install_services(std::vector<std::uint8_t> icon_png);

}  // namespace zta
