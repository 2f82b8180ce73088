#pragma once
// The one place that chooses a backend for every platform interface: the members of `services`
// that are still empty get this machine's backend (sound from ZTA_AUDIO, see audio_backends.hpp;
// the system clock; the XDG start-up entries; the floppy mount points; the environment's locale;
// libcurl for FTP; libsndfile for WAV data that is not 16-bit PCM).
#include <string>

#include "platform/api/platform_services.hpp"

namespace zta {

// False, with `error` set, when ZTA_AUDIO names no backend: the devices are then ALSA's, and the
// other members are filled anyway.
bool fill_system_services(platform_services& services, const char* zta_audio, std::string& error);

}  // namespace zta
