#pragma once
// The names of the chosen sound devices, kept beside the settings in "devices.txt". The settings
// file stores devices by index, and a USB card changes index after a reboot or a replug; with the
// name kept, the device is found again wherever it went.
//
// File: one line per chosen device, "role<TAB>name\n" with the roles "sound-out", "audition",
// "record", "music" and "microphone"; a role without a line has no name kept. Written whole under a
// temporary name and renamed into place.
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "announcements/settings_block.hpp"

namespace zta {

inline constexpr char device_names_file[] = "devices.txt";

enum class device_role : std::uint8_t { sound_out, audition, record, music, microphone };
inline constexpr device_role all_device_roles[] = {device_role::sound_out, device_role::audition,
                                                   device_role::record, device_role::music,
                                                   device_role::microphone};

// The device lists as the backends give them, in index order.
struct sound_device_lists {
  std::vector<std::string> wave_out;  // sound-out and audition
  std::vector<std::string> wave_in;   // record
  std::vector<std::string> mixer_lines;
};

struct device_change {
  device_role role = device_role::sound_out;
  std::string name;
  int from = -1;  // the index the settings held
  int to = -1;    // where the name is now
  // "sound-out device \"NAME\" found again as number 2 (was 0)"
  std::string text() const;
};

class device_memory {
 public:
  // `data_folder` with a trailing '/'. Reads the file once, here.
  explicit device_memory(std::string data_folder);

  // Keeps the names the settings choose now (the user has just chosen, or none were kept yet);
  // false when the file could not be written.
  bool remember(const settings_block& s, const sound_device_lists& lists);
  // At start: with no names kept yet, remembers the present choice; else find_again for every
  // role.
  std::vector<device_change> start(settings_block& s, const sound_device_lists& lists);
  // For each role: when the settings' index no longer names the kept device (another name, or
  // past the end of the list), and the kept name is in the list, the index is moved there. A name
  // that is nowhere (the card is out) leaves the index as it is. Returns what moved.
  std::vector<device_change> find_again(settings_block& s, const sound_device_lists& lists,
                                        std::span<const device_role> roles) const;

  bool has_names() const { return !names_.empty(); }
  const std::map<device_role, std::string>& names() const { return names_; }

 private:
  std::string path_;
  std::map<device_role, std::string> names_;
};

}  // namespace zta
