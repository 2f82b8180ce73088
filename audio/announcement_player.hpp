#pragma once
// The one object that makes sound: announcements with their chime, remote sound files and the page
// chime, streamed through nine device buffers of 8192 samples while the music line is lowered.
//
// Everything runs on the main thread. The device reports finished buffers through buffer_done
// (the player is the device's listener); a new play while busy cuts the current one off.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "announcements/ann_blk.hpp"
#include "announcements/station.hpp"
#include "audio/voice_player.hpp"
#include "platform/api/aux_mixer.hpp"
#include "platform/api/wave_out.hpp"

namespace zta {

inline constexpr int player_buffer_count = 9;

// Writes the play-log line of an announcement; the player's default, log_play, appends it to the
// month's log.
using play_log_writer = std::function<void(const station& st, const ann_blk& a)>;
// For players whose plays are not real: the schedule preview, tests of the sound path.
inline void no_play_log(const station&, const ann_blk&) {}

// How the last play_announcement or play_file went, from the path it took.
enum class play_outcome {
  started,        // the device plays the clip or the sound file
  no_device,      // no sound-out device is chosen
  device_failed,  // the device did not open or took no buffer
  no_sound,       // the clip or the sound file did not open (the device runs silence once)
};

class announcement_player final : public wave_out_listener {
 public:
  // `st`, `device` and `mixer` must outlive the player (its destructor stops the output).
  announcement_player(station& st, wave_out& device, aux_mixer& mixer,
                      play_log_writer log = {} /* = log_play */);
  ~announcement_player();
  announcement_player(const announcement_player&) = delete;
  announcement_player& operator=(const announcement_player&) = delete;

  // Plays `a` after its chime (when its chimes flag and the chimes setting are both on); with
  // nullptr plays the chime alone (page). The log line of an announcement is written first,
  // whether or not anything can be heard.
  void play_announcement(const ann_blk* a);
  // Plays a raw sound file after the chime (when chimes are set) and deletes it once played; a
  // file that does not open is deleted at once.
  void play_file(const std::string& path);
  // Ends any output at once and restores the music line.
  void stop();
  // A finished buffer from the device.
  void buffer_done(wave_header& header) override;

  // Push-to-talk page: music down and microphone up, then the page chime; and the reverse.
  void page_start();
  void page_stop();

  // The music line's level for the present state: fade-down while busy or paging, else fade-up.
  // Does nothing when no music line is configured.
  void apply_music_level();
  // The page microphone's level: its level while paging, else 0. Nothing when none configured.
  void apply_mic_level();

  play_outcome last_outcome() const { return outcome_; }
  bool is_open() const { return is_open_; }
  bool page_active() const { return page_active_; }
  void set_page_active(bool on) { page_active_ = on; }
  const voice_player& stream() const { return stream_; }
  int outstanding() const { return outstanding_; }

 private:
  struct buffer {
    std::unique_ptr<std::uint8_t[]> memory;
    wave_header header;
  };

  void start_output();
  void fill(buffer& b);
  std::size_t buffer_size() const;

  station& st_;
  wave_out& device_;
  aux_mixer& mixer_;
  play_log_writer log_;

  bool page_active_ = false;
  voice_player stream_;
  bool is_open_ = false;
  bool balanced_ = false;  // the format the device was opened with
  std::unique_ptr<std::uint8_t[]> scratch_;
  std::array<buffer, player_buffer_count> buffers_{};
  std::int32_t outstanding_ = 0;
  play_outcome outcome_ = play_outcome::started;
};

// Balanced frames: left = sample, right = its negation truncated to 16 bits (-32768 stays).
void balance_block(const std::uint8_t* mono, std::uint8_t* stereo, std::size_t samples);

}  // namespace zta
