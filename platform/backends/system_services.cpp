#include "platform/backends/system_services.hpp"

#include "platform/backends/audio_backends.hpp"
#include "platform/curl/curl_ftp_client.hpp"
#include "platform/sim/env_drive_mounts.hpp"
#include "platform/sim/posix_locale_info.hpp"
#include "platform/sim/system_wall_clock.hpp"
#include "platform/sndfile/sndfile_pcm_decoder.hpp"
#include "platform/xdg/systemd_notifier.hpp"
#include "platform/xdg/xdg_desktop_shell.hpp"
#include "platform/xdg/xdg_startup_registry.hpp"

namespace zta {

bool fill_system_services(platform_services& s, const char* zta_audio, std::string& error,
                          const std::string& sound_fallback) {
  bool ok = true;
  if (!s.devices.out || !s.devices.mixer) {
    ok = make_audio_devices(zta_audio, s.devices, error, sound_fallback);
    // Never leave the player without a device; the caller decides whether to go on.
    if (!ok) make_audio_devices("alsa", s.devices, error);
  }
  if (!s.clock) s.clock = std::make_unique<system_wall_clock>();
  if (!s.registry)
    s.registry = std::make_unique<xdg_startup_registry>(xdg_roots_from_environment());
  if (!s.drives) s.drives = std::make_unique<env_drive_mounts>();
  if (!s.locale) s.locale = std::make_unique<posix_locale_info>();
  if (!s.ftp) s.ftp = std::make_shared<curl_ftp_client>();
  if (!s.decoders) s.decoders = std::make_unique<sndfile_pcm_decoder_factory>();
  if (!s.notifier)
    s.notifier = std::make_unique<systemd_notifier>(notify_environment_from_process());
  return ok;
}

install_services make_install_services(std::vector<std::uint8_t> icon_png) {
  install_services s;
  s.registry = std::make_unique<xdg_startup_registry>(xdg_roots_from_environment());
  xdg_shell_roots roots = xdg_shell_roots_from_environment();
  roots.icon_png = std::move(icon_png);
  s.shell = std::make_unique<xdg_desktop_shell>(std::move(roots));
  s.drives = std::make_unique<env_drive_mounts>();
  s.clock = std::make_unique<system_wall_clock>();
  return s;
}

}  // namespace zta
