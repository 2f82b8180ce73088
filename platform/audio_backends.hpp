#pragma once
// Picks the sound backend from the value of ZTA_AUDIO:
//   unset, empty or "alsa"   the ALSA PCM devices and mixer lines of this machine;
//   "sim:DIR"                the simulated device, writing into folder DIR (see sim_audio.hpp);
//   "sim:DIR:speed=N"        the same, completing buffers N times faster than real time (N > 0,
//                            a decimal number).
#include <memory>
#include <string>

#include "platform/api/aux_mixer.hpp"
#include "platform/api/wave_out.hpp"

namespace zta {

struct audio_devices {
  std::unique_ptr<wave_out> out;
  std::unique_ptr<aux_mixer> mixer;
  std::string description;  // "ALSA" or "simulated in DIR"
};

// False, with `error` set and nothing made, for a value it does not understand.
bool make_audio_devices(const char* zta_audio, audio_devices& out, std::string& error);

}  // namespace zta
