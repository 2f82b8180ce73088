#pragma once
// Picks the sound backend from the value of ZTA_AUDIO:
//   "alsa"                   the ALSA PCM devices and mixer lines of this machine;
//   unset or empty           the same, unless ALSA's "default" does not open for playback: then
//                            the simulated device in the fallback folder stands in (made when
//                            missing), and the devices' notice says so and why;
//   "sim:DIR"                the simulated device, writing into folder DIR and recording from
//                            DIR/wave_in.wav (see sim_audio.hpp and sim_wave_in.hpp);
//   "sim:DIR:speed=N"        the same, completing buffers N times faster than real time (N > 0,
//                            a decimal number).
#include <string>

#include "platform/api/platform_services.hpp"

namespace zta {

// False, with `error` set and nothing made, for a value it does not understand. An empty
// `fallback_folder` means no fallback: ALSA is taken whether it opens or not.
bool make_audio_devices(const char* zta_audio, audio_devices& out, std::string& error,
                        const std::string& fallback_folder = {});

}  // namespace zta
