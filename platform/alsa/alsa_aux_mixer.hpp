#pragma once
// Mixer lines on ALSA simple elements with a playback volume, one line per (card, element),
// named "card: element". The 16-bit halves of a volume word map linearly onto the element's
// range: min + v * (max - min) / 0xFFFF, left on the front-left (or mono) channel, right on the
// front-right channel.
#include <cstdint>
#include <string>
#include <vector>

#include "base/error_note.hpp"
#include "platform/api/aux_mixer.hpp"

namespace zta {

struct alsa_mixer_line {
  std::string ctl;      // control device, e.g. "hw:0"
  std::string element;  // simple element name
  unsigned index = 0;   // simple element index
  std::string name;     // "card: element"
};

// The lines of the given control devices; with none given, every sound card's, or those of
// "default" when there is no card.
std::vector<alsa_mixer_line> alsa_mixer_lines(const std::vector<std::string>& ctls = {});

class alsa_aux_mixer final : public aux_mixer {
 public:
  alsa_aux_mixer() : lines_(alsa_mixer_lines()) {}
  explicit alsa_aux_mixer(std::vector<alsa_mixer_line> lines) : lines_(std::move(lines)) {}

  std::vector<std::string> line_names() const override;
  bool set_volume(int index, std::uint32_t word) override;
  std::string last_error() const override { return error_.text(); }

 private:
  bool set_line(const alsa_mixer_line& line, std::uint32_t word);

  std::vector<alsa_mixer_line> lines_;
  error_note error_{"ALSA mixer"};
};

}  // namespace zta
