#include "platform/backends/audio_backends.hpp"

#include <cstdlib>
#include <filesystem>

#include "platform/alsa/alsa_aux_mixer.hpp"
#include "platform/alsa/alsa_pcm.hpp"
#include "platform/alsa/alsa_wave_in.hpp"
#include "platform/alsa/alsa_wave_out.hpp"
#include "platform/qt/qt_loop_timer.hpp"
#include "platform/qt/qt_loop_watch.hpp"
#include "platform/sim/sim_audio.hpp"
#include "platform/sim/sim_wave_in.hpp"

namespace zta {

namespace {

void make_sim_devices(std::string dir, double speed, audio_devices& out) {
  if (dir.back() != '/') dir += '/';
  auto levels = std::make_shared<sim_levels>(dir);
  out.out = std::make_unique<sim_wave_out>(levels, speed, std::make_unique<qt_loop_timer>());
  out.audition =
      std::make_unique<sim_wave_out>(levels, speed, std::make_unique<qt_loop_timer>(), "audition");
  out.in = std::make_unique<sim_wave_in>(dir, speed, std::make_unique<qt_loop_timer>());
  out.mixer = std::make_unique<sim_aux_mixer>(levels);
  out.description = "simulated in " + dir;
}

// The simulated device in `folder` when ALSA has no playback device; false (nothing made) when
// ALSA has one or the folder cannot be made.
bool fall_back(const std::string& folder, audio_devices& out) {
  std::string why;
  if (folder.empty() || alsa_default_playback_opens(why)) return false;
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (!std::filesystem::is_directory(folder, ec)) return false;
  const std::string dir = folder.back() == '/' ? folder : folder + '/';
  make_sim_devices(dir, 1.0, out);
  out.notice = "no sound card (ALSA: " + why + "); the announcements play into the simulated " +
               "device, which writes them to " + dir + "wave_out-1ch.wav";
  return true;
}

}  // namespace

bool make_audio_devices(const char* zta_audio, audio_devices& out, std::string& error,
                        const std::string& fallback_folder) {
  std::string value = zta_audio != nullptr ? zta_audio : "";
  if (value.empty() && fall_back(fallback_folder, out)) return true;
  if (value.empty() || value == "alsa") {
    auto loop = std::make_shared<qt_loop_watch>();
    out.out = std::make_unique<alsa_wave_out>(loop);
    out.audition = std::make_unique<alsa_wave_out>(loop);
    out.in = std::make_unique<alsa_wave_in>(loop);
    out.mixer = std::make_unique<alsa_aux_mixer>();
    out.description = "ALSA";
    return true;
  }
  if (value.rfind("sim:", 0) != 0) {
    error = "ZTA_AUDIO must be \"alsa\", \"sim:DIR\" or \"sim:DIR:speed=N\", not \"" + value + "\"";
    return false;
  }
  std::string dir = value.substr(4);
  double speed = 1.0;
  if (auto at = dir.rfind(":speed="); at != std::string::npos) {
    const std::string number = dir.substr(at + 7);
    char* end = nullptr;
    speed = std::strtod(number.c_str(), &end);
    if (number.empty() || end == nullptr || *end != '\0' || !(speed > 0) || speed > 1e6) {
      error = "ZTA_AUDIO speed must be a number above 0, not \"" + number + "\"";
      return false;
    }
    dir.resize(at);
  }
  std::error_code ec;
  if (dir.empty() || !std::filesystem::is_directory(dir, ec)) {
    error = "ZTA_AUDIO folder \"" + dir + "\" does not exist";
    return false;
  }
  make_sim_devices(dir, speed, out);
  return true;
}

}  // namespace zta
