#include "platform/alsa/alsa_aux_mixer.hpp"

#include <alsa/asoundlib.h>

#include <cstdlib>
#include <memory>

#include "platform/alsa/alsa_pcm.hpp"

namespace zta {

namespace {

struct mixer_closer {
  void operator()(snd_mixer_t* m) const { snd_mixer_close(m); }
};
using mixer_ptr = std::unique_ptr<snd_mixer_t, mixer_closer>;

// Null on failure, with `error` saying which step failed and why.
mixer_ptr open_mixer(const std::string& ctl, std::string& error) {
  snd_mixer_t* m = nullptr;
  int rc = snd_mixer_open(&m, 0);
  if (rc < 0) {
    error = alsa_error_text("no mixer", rc);
    return nullptr;
  }
  mixer_ptr p(m);
  if ((rc = snd_mixer_attach(m, ctl.c_str())) < 0) {
    error = alsa_error_text("cannot attach the control device \"" + ctl + "\"", rc);
    return nullptr;
  }
  if ((rc = snd_mixer_selem_register(m, nullptr, nullptr)) < 0 || (rc = snd_mixer_load(m)) < 0) {
    error = alsa_error_text("cannot load the elements of \"" + ctl + "\"", rc);
    return nullptr;
  }
  return p;
}

std::string card_label(const std::string& ctl) {
  if (ctl.rfind("hw:", 0) == 0) {
    char* name = nullptr;
    if (snd_card_get_name(std::atoi(ctl.c_str() + 3), &name) == 0 && name != nullptr) {
      std::string s = name;
      std::free(name);
      return s;
    }
  }
  return ctl;
}

long map_half(std::uint32_t v, long min, long max) {
  return min + static_cast<long>((static_cast<long long>(v) * (max - min)) / 0xFFFF);
}

}  // namespace

std::vector<alsa_mixer_line> alsa_mixer_lines(const std::vector<std::string>& ctls) {
  std::vector<std::string> names = ctls;
  if (names.empty()) {
    int card = -1;
    while (snd_card_next(&card) == 0 && card >= 0) names.push_back("hw:" + std::to_string(card));
    if (names.empty()) names.push_back("default");
  }
  std::vector<alsa_mixer_line> out;
  for (const auto& ctl : names) {
    std::string ignored;  // a card without a mixer has no lines to offer
    mixer_ptr m = open_mixer(ctl, ignored);
    if (m == nullptr) continue;
    const std::string label = card_label(ctl);
    for (snd_mixer_elem_t* e = snd_mixer_first_elem(m.get()); e != nullptr;
         e = snd_mixer_elem_next(e)) {
      if (!snd_mixer_selem_is_active(e) || !snd_mixer_selem_has_playback_volume(e)) continue;
      alsa_mixer_line line;
      line.ctl = ctl;
      line.element = snd_mixer_selem_get_name(e);
      line.index = snd_mixer_selem_get_index(e);
      line.name = label + ": " + line.element;
      if (line.index != 0) line.name += " " + std::to_string(line.index);
      out.push_back(std::move(line));
    }
  }
  return out;
}

std::vector<std::string> alsa_aux_mixer::line_names() const {
  std::vector<std::string> names;
  for (const auto& l : lines_) names.push_back(l.name);
  return names;
}

bool alsa_aux_mixer::set_volume(int index, std::uint32_t word) {
  if (index < 0 || index >= static_cast<int>(lines_.size())) {
    error_.fail("there is no mixer line " + std::to_string(index) + " (" +
                std::to_string(lines_.size()) + " lines)");
    return false;
  }
  if (!set_line(lines_[static_cast<std::size_t>(index)], word)) return false;
  error_.clear();
  return true;
}

bool alsa_aux_mixer::set_line(const alsa_mixer_line& line, std::uint32_t word) {
  std::string why;
  mixer_ptr m = open_mixer(line.ctl, why);
  if (m == nullptr) {
    error_.fail(line.name + ": " + why);
    return false;
  }
  snd_mixer_selem_id_t* id = nullptr;
  snd_mixer_selem_id_alloca(&id);
  snd_mixer_selem_id_set_name(id, line.element.c_str());
  snd_mixer_selem_id_set_index(id, line.index);
  snd_mixer_elem_t* e = snd_mixer_find_selem(m.get(), id);
  if (e == nullptr) {
    error_.fail(line.name + ": the element is gone from \"" + line.ctl + "\"");
    return false;
  }
  long min = 0, max = 0;
  int rc = snd_mixer_selem_get_playback_volume_range(e, &min, &max);
  if (rc < 0) {
    error_.fail(alsa_error_text(line.name + ": no volume range", rc));
    return false;
  }
  const long left = map_half(word & 0xFFFF, min, max);
  const long right = map_half(word >> 16, min, max);
  if (snd_mixer_selem_is_playback_mono(e)) {
    rc = snd_mixer_selem_set_playback_volume(e, SND_MIXER_SCHN_MONO, left);
  } else {
    for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
      auto ch = static_cast<snd_mixer_selem_channel_id_t>(c);
      if (!snd_mixer_selem_has_playback_channel(e, ch)) continue;
      long v = ch == SND_MIXER_SCHN_FRONT_RIGHT || ch == SND_MIXER_SCHN_REAR_RIGHT ||
                       ch == SND_MIXER_SCHN_SIDE_RIGHT
                   ? right
                   : left;
      if (const int set = snd_mixer_selem_set_playback_volume(e, ch, v); set < 0) rc = set;
    }
  }
  if (rc < 0) {
    error_.fail(alsa_error_text(line.name + ": the volume cannot be set", rc));
    return false;
  }
  return true;
}

}  // namespace zta
