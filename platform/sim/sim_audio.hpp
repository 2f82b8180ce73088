#pragma once
// The simulated sound card for machines without one (ZTA_AUDIO=sim:DIR[:speed=N]).
//
// - sim_wave_out plays nothing: it completes each buffer after its playing time at 22050 frames
//   per second divided by the speed factor (buffers play one after another), from a loop_timer on
//   the thread that runs the event loop. Every sample it is given is appended, as written (before
//   the volume), to DIR/wave_out-1ch.wav or DIR/wave_out-2ch.wav (by channel count); the header is
//   kept valid after every write, an existing file of the same format is appended to, and a file
//   that reached the 4 GiB limit of the format takes no more samples. The audition device is a
//   second one writing DIR/audition-1ch.wav.
// - DIR/cards.txt, when present, lists the sound-out devices instead (see device_names()).
// - sim_aux_mixer has the lines "sim: Music" and "sim: Microphone".
// - The last volume words of both are kept in DIR/levels.txt, rewritten on each change:
//   "wave_out 0xVVVVVVVV", then "line N 0xVVVVVVVV" for each mixer line.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/api/loop_timer.hpp"
#include "platform/api/wave_out.hpp"
#include "platform/sim/recording_aux_mixer.hpp"

namespace zta {

// The shared record behind DIR/levels.txt.
struct sim_levels {
  explicit sim_levels(std::string folder) : dir(std::move(folder)) {}
  void save() const;

  std::string dir;  // with a trailing '/'
  std::uint32_t wave_out = 0xFFFFFFFF;
  std::vector<std::uint32_t> lines;
};

class sim_wave_out final : public wave_out {
 public:
  // `stem` names its files ("wave_out" for the PA output, "audition"); only the PA output's volume
  // goes into levels.txt.
  sim_wave_out(std::shared_ptr<sim_levels> levels, double speed, std::unique_ptr<loop_timer> timer,
               std::string stem = "wave_out");
  ~sim_wave_out() override;

  // "Simulated output", or the lines of DIR/cards.txt when it exists (a machine with more cards,
  // renumbered as the file says). Only the line "Simulated output" opens; while it plays, a
  // cards.txt without that line is the card unplugged: the listener hears device_failed.
  std::vector<std::string> device_names() const override;
  bool open(int index, const wave_format& format, wave_out_listener& listener) override;
  bool is_open() const override { return listener_ != nullptr; }
  bool write(wave_header& h) override;
  void reset() override;
  void close() override;
  void set_volume(std::uint32_t word) override;

  std::string wav_path(int channels) const;

 private:
  using clock = std::chrono::steady_clock;
  struct queued {
    wave_header* header;
    clock::time_point due;
  };
  void deliver();
  void arm();
  bool open_wav(int channels);
  void close_wav();

  std::shared_ptr<sim_levels> levels_;
  double speed_;
  std::string stem_;
  wave_format format_{};
  wave_out_listener* listener_ = nullptr;
  std::deque<queued> queue_;
  clock::time_point play_head_{};
  std::unique_ptr<loop_timer> timer_;
  std::FILE* wav_ = nullptr;
  std::uint32_t wav_data_bytes_ = 0;
};

class sim_aux_mixer final : public recording_aux_mixer {
 public:
  explicit sim_aux_mixer(std::shared_ptr<sim_levels> levels);

 private:
  void changed() override;
  std::shared_ptr<sim_levels> levels_;
};

}  // namespace zta
