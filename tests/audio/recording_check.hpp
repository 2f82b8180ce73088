#pragma once
// What a recording must come out as: the clip the WAV import makes of the same samples. A tone of
// period 64 samples gives every block the same loudness whether it is cut into the import's
// 1024-sample pieces or the recording's 2048-sample buffers, so both choose the same gain.
#include <cstdint>
#include <string>
#include <vector>

#include "announcements/clip_files.hpp"
#include "audio/import_wav.hpp"
#include "base/byte_codec.hpp"
#include "tests/audio/wav_builder.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta::test {

inline std::vector<std::int16_t> steady_tone(std::size_t samples, double amplitude = 9000) {
  return sine(static_cast<int>(samples), 22050.0 / 64, 22050, amplitude);
}

inline std::vector<std::uint8_t> sample_bytes(const std::vector<std::int16_t>& s) {
  std::vector<std::uint8_t> b;
  byte_writer w(b);
  for (auto v : s) w.i16(v);
  return b;
}

// The clip file and stored length that importing these samples gives.
struct imported {
  std::vector<std::uint8_t> clip;
  std::int32_t length = 0;
};
inline imported import_of(const std::vector<std::int16_t>& samples) {
  temp_folder data, src;
  station st(data.path());
  src.write("take.wav", pcm16_wav(22050, 1, samples));
  const int i = import_wav(st, src.file("take.wav"));
  if (i < 0) return {};
  const ann_blk& a = st.content.list[i];
  std::vector<std::uint8_t> clip;
  read_whole_file(clip_path(st, a.clip), clip);
  return {clip, a.id_serial};
}

}  // namespace zta::test
