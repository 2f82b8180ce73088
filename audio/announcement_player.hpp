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
#include <optional>
#include <string>

#include "announcements/ann_blk.hpp"
#include "announcements/missed_log.hpp"
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

// Why a play request is not heard, as the missed file gives it; none when it sounds.
// clip_missing still opens the device (nine blocks of silence).
using missed_outcome = std::optional<missed_reason>;

class announcement_player final : public wave_out_listener {
 public:
  // `st`, `device` and `mixer` must outlive the player (its destructor stops the output). Starts
  // that do not sound go to `missed`; by default the missed file of the station's data folder.
  announcement_player(station& st, wave_out& device, aux_mixer& mixer,
                      play_log_writer log = {} /* = log_play */,
                      std::optional<missed_log> missed = std::nullopt);
  ~announcement_player();
  announcement_player(const announcement_player&) = delete;
  announcement_player& operator=(const announcement_player&) = delete;

  // Plays `a` after its chime (when its chimes flag and the chimes setting are both on); with
  // nullptr plays the chime alone (page). The log line of an announcement is written first,
  // whether or not anything can be heard. `why` names who asked, for the missed file: a start
  // that does not sound, or that is cut off before its clip has played, is recorded there.
  missed_outcome play_announcement(const ann_blk* a, play_trigger why = play_trigger::manual);
  // Plays a raw sound file after the chime (when chimes are set) and deletes it once played; a
  // file that does not open is deleted at once. Recorded as missed under the file's name.
  missed_outcome play_file(const std::string& path, play_trigger why = play_trigger::remote);
  // Ends any output at once and restores the music line. An announcement whose clip had not
  // played to its end is recorded as missed for `why` (the Stop command by default).
  void stop(missed_reason why = missed_reason::stopped_by_user);
  // A finished buffer from the device.
  void buffer_done(wave_header& header) override;
  // The device failed while open (a card unplugged): the play ends, recorded as missed; the next
  // play opens the device afresh.
  void device_failed() override;

  // The clip and chime files do not change while this player runs (the schedule preview): with a
  // device that ignores the samples, each file is then opened once for whether it opens and its
  // size, not at every play.
  void set_fixed_files(bool on) { fixed_files_ = on; }

  // Called right before every device open (where a renumbered card is found again by name).
  void set_before_open(std::function<void()> hook) { before_open_ = std::move(hook); }
  // Where missed starts go (off for a preview); the scheduler records its own skips there.
  missed_log missed() const { return missed_ ? *missed_ : missed_log(st_.data_folder); }

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

  // The announcement now sounding, until the buffer that holds the end of its clip completes.
  struct programme {
    std::string name;
    play_trigger trigger = play_trigger::manual;
    int every_minutes = 0;
    std::uint64_t end_buffer = 0;  // sequence number of the buffer with the clip's end; 0 = not yet
    std::int32_t started = 0;      // the moment of the start
  };

  missed_outcome start_output();
  void fill(buffer& b);
  std::size_t buffer_size() const;
  void record_missed(std::int32_t when, std::string_view name, play_trigger why, int every,
                     missed_reason r) const;

  station& st_;
  wave_out& device_;
  aux_mixer& mixer_;
  play_log_writer log_;
  std::optional<missed_log> missed_;  // none: the station's data folder as it is then
  std::function<void()> before_open_;
  std::optional<programme> programme_;
  std::uint64_t buffers_written_ = 0;  // since the device opened
  std::uint64_t buffers_done_ = 0;

  bool page_active_ = false;
  bool fixed_files_ = false;
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
