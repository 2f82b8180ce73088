#pragma once
// The outside world of one running player, as the interfaces of platform/api. The program fills it
// from the system's backends (platform/backends/system_services.hpp); tests fill it with doubles.
// A member left empty is filled with the system's backend by whoever takes the record; the sound
// devices come as one set (a record with `out` given keeps its own `in` and `audition`, even none).
#include <memory>
#include <string>

#include "platform/api/aux_mixer.hpp"
#include "platform/api/drive_mounts.hpp"
#include "platform/api/ftp_client.hpp"
#include "platform/api/locale_info.hpp"
#include "platform/api/pcm_decoder.hpp"
#include "platform/api/service_notifier.hpp"
#include "platform/api/startup_registry.hpp"
#include "platform/api/wall_clock.hpp"
#include "platform/api/wave_in.hpp"
#include "platform/api/wave_out.hpp"

namespace zta {

struct audio_devices {
  std::unique_ptr<wave_out> out;       // the PA output
  std::unique_ptr<wave_out> audition;  // the audition play device, open beside the PA output;
                                       // the same device list as `out`. None: no audition
  std::unique_ptr<wave_in> in;         // the user record device; none: no recording
  std::unique_ptr<aux_mixer> mixer;
  std::string description;  // "ALSA", or what stands in for it ("simulated in DIR")
  // What the user is told about the choice: why a stand-in plays instead of the sound card the
  // user expects; empty when the devices are the ones asked for.
  std::string notice;
};

struct platform_services {
  audio_devices devices;
  std::unique_ptr<wall_clock> clock;
  std::unique_ptr<startup_registry> registry;
  std::unique_ptr<drive_mounts> drives;
  std::unique_ptr<locale_info> locale;
  std::shared_ptr<ftp_client> ftp;  // shared with the FTP worker's thread
  std::unique_ptr<pcm_decoder_factory> decoders;
  std::unique_ptr<service_notifier> notifier;  // the service manager, when one started us
};

}  // namespace zta
