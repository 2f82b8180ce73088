#pragma once
// A full day's schedule of 127 announcements for previews: sequence play, every-N-minutes and
// fixed-time starts, weekday and time-of-day windows, chimes, and a few clips many minutes long.
// Written as a data folder (settings file, clips, chime clip), deterministic to the byte.
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "announcements/clip_files.hpp"
#include "announcements/settings_store.hpp"

namespace zta::test {

inline constexpr int busy_schedule_size = 127;

inline void write_busy_schedule(const std::string& folder, std::int32_t now) {
  station st(folder, now);
  st.settings.sound_out_device = 0;
  st.settings.balanced = 1;
  st.settings.chimes = 2;
  st.settings.sequence_interval = 3;
  std::ofstream(chime_path(st, 2), std::ios::binary) << std::string(2 * 33075, '\3');
  for (int i = 0; i < busy_schedule_size; ++i) {
    ann_blk a;
    a.set_name("Announcement " + std::to_string(i));
    a.clip = static_cast<std::int16_t>(i);
    a.expiry = moment_never;
    a.day_to = seconds_per_day;
    a.weekdays = every_day;
    a.chimes = i % 3 == 0 ? 1 : 0;
    std::int32_t seconds = 4 + i % 17;
    if (i < 30) {
      a.autoplay = -1;
    } else if (i < 60) {
      a.autoplay = static_cast<std::int16_t>(5 + (i % 6) * 5);
      if (i % 4 == 0) a.day_from = 7 * 3600, a.day_to = 19 * 3600;
    } else {
      for (int k = 0; k < 1 + i % 12; ++k)
        a.fixed_times.push_back((i * 997 + k * 8111) % seconds_per_day);
      if (i % 5 == 0) a.weekdays = 0x3E;  // Monday to Friday
    }
    // A few long clips: ten to twenty minutes.
    if (i % 25 == 7) seconds = 600 + i * 5;
    a.id_serial = seconds * 22050;
    std::ofstream(clip_path(st, i), std::ios::binary)
        << std::string(static_cast<std::size_t>(seconds) * 44100, '\1');
    st.clip_use[static_cast<std::size_t>(i)] = clip_allocated;
    st.content.list.push_back(a);
  }
  const auto bytes = encode_settings_file(st);
  std::ofstream(st.data_folder + settings_file_name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace zta::test
