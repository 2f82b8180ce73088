#pragma once
// One WAV file imported as a new announcement, and what must hold afterwards.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "announcements/clip_files.hpp"
#include "audio/import_wav.hpp"
#include "tests/audio/wav_builder.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta::test {

// Half a second of a tone, with a short pause either side.
inline std::vector<std::int16_t> speech(std::uint32_t rate, std::uint16_t channels) {
  const int pause = static_cast<int>(rate / 10);
  std::vector<std::int16_t> mono(static_cast<std::size_t>(pause), 0);
  const auto tone = sine(static_cast<int>(rate / 2), 700, rate, 12000);
  mono.insert(mono.end(), tone.begin(), tone.end());
  mono.insert(mono.end(), static_cast<std::size_t>(pause), 0);
  std::vector<std::int16_t> out;
  for (auto v : mono) {
    for (int c = 0; c < channels; ++c) out.push_back(c == 0 ? v : 0);
  }
  return out;
}

struct import_case {
  const char* name;
  std::vector<std::uint8_t> bytes;  // empty: take the fixture of that name
  int tone_samples;                 // at 22050 Hz
};

inline void expect_imported(const import_case& c, pcm_decoder_factory* decoders) {
  SCOPED_TRACE(c.name);
  temp_folder data, src;
  station st(data.path());
  std::string path = std::string(ZTA_FIXTURES) + "/audio/" + c.name;
  if (!c.bytes.empty()) {
    src.write(c.name, c.bytes);
    path = src.file(c.name);
  }
  import_wav_job job(st, path, decoders);
  while (job.step()) {
  }
  const int i = job.result();
  ASSERT_EQ(i, 0) << import_failure_text(job.failure());
  const ann_blk& a = st.content.list[i];
  EXPECT_EQ(a.name_text(), import_name(c.name));
  EXPECT_EQ(a.user_made, 1);
  ASSERT_TRUE(valid_clip(a.clip));
  EXPECT_EQ(st.clip_use[static_cast<std::size_t>(a.clip)] & clip_allocated, clip_allocated);
  const auto clip = data.read(clip_path(st, a.clip).substr(data.path().size()));
  EXPECT_GE(clip.size(), 2u * static_cast<std::size_t>(a.id_serial));
  // The clip starts at most a block before the tone and ends at most a block after it.
  EXPECT_NEAR(a.id_serial, c.tone_samples, 1100);
  // Only the clip and nothing temporary is left behind.
  EXPECT_EQ(data.names().size(), 1u);
}

}  // namespace zta::test
