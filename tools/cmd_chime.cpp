// zta chime N --out FILE: writes the N-note chime clip (N = 1..3) that sounds before an
// announcement: soft bell tones with a natural decay, headerless 16-bit LE mono at 22050 Hz.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

#include "base/file_io.hpp"
#include "tools/commands.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {

namespace {

constexpr double rate = 22050.0;
constexpr double note_spacing = 0.45;  // seconds between note onsets
constexpr double ring_time = 1.4;      // how long the last note rings
constexpr double peak = 16000.0;       // about -6 dBFS: clear but not loud

// Mostly harmonic partials (with one slightly stretched) so the tone is bell-like yet sweet;
// higher partials die away faster, as they do on a struck bar.
struct partial {
  double ratio, amplitude, decay_seconds;
};
constexpr partial partials[] = {
    {1.0, 1.0, 0.55}, {2.0, 0.35, 0.30}, {3.0, 0.12, 0.18}, {4.16, 0.06, 0.10}};

std::vector<double> notes_for(int n) {
  switch (n) {
    case 1:
      return {659.26};  // E5
    case 2:
      return {659.26, 523.25};  // E5 C5: "ding-dong"
    default:
      return {523.25, 659.26, 783.99};  // C5 E5 G5, rising
  }
}

std::vector<std::int16_t> make_chime(int n) {
  const std::vector<double> notes = notes_for(n);
  const double seconds = note_spacing * static_cast<double>(notes.size() - 1) + ring_time;
  const std::size_t count = static_cast<std::size_t>(seconds * rate);
  std::vector<double> mix(count, 0.0);
  for (std::size_t k = 0; k < notes.size(); ++k) {
    const std::size_t start =
        static_cast<std::size_t>(note_spacing * static_cast<double>(k) * rate);
    for (std::size_t i = start; i < count; ++i) {
      const double t = static_cast<double>(i - start) / rate;
      const double attack = std::min(1.0, t / 0.004);  // 4 ms: no click
      double s = 0.0;
      for (const partial& p : partials) {
        s += p.amplitude * std::exp(-t / p.decay_seconds) *
             std::sin(2.0 * std::numbers::pi * notes[k] * p.ratio * t);
      }
      mix[i] += attack * s;
    }
  }
  const std::size_t fade = static_cast<std::size_t>(0.03 * rate);  // end exactly at silence
  for (std::size_t i = 0; i < fade; ++i) mix[count - 1 - i] *= static_cast<double>(i) / fade;
  double top = 0.0;
  for (double s : mix) top = std::max(top, std::abs(s));
  std::vector<std::int16_t> out(count);
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = static_cast<std::int16_t>(std::lround(mix[i] / top * peak));
  }
  return out;
}

}  // namespace

int cmd_chime(const arg_list& args) {
  const auto opts = parse_options(args, {"--out"}, {});
  if (!opts) return 2;
  const auto out = opts->value("--out");
  const std::string n_text = opts->positional.size() == 1 ? opts->positional[0] : "";
  if (!out || out->empty() || (n_text != "1" && n_text != "2" && n_text != "3")) {
    std::fprintf(stderr, "usage: zta chime N --out FILE   (N = 1, 2 or 3)\n");
    return 2;
  }
  const std::vector<std::int16_t> samples = make_chime(n_text[0] - '0');
  std::vector<std::uint8_t> bytes;
  bytes.reserve(samples.size() * 2);
  for (std::int16_t s : samples) {
    const auto u = static_cast<std::uint16_t>(s);
    bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  if (!replace_file_atomically(*out, bytes)) {
    std::fprintf(stderr, "zta: cannot write %s\n", out->c_str());
    return 1;
  }
  std::printf("wrote %s (%zu samples, %.2f s)\n", out->c_str(), samples.size(),
              static_cast<double>(samples.size()) / rate);
  return 0;
}

}  // namespace zta::tool
