// The exact bytes of the clips that imports and recordings make, pinned as hashes: how the files
// are read and written (block sizes, buffering) must never change a single sample.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "announcements/clip_files.hpp"
#include "audio/edit_audio.hpp"
#include "audio/import_wav.hpp"
#include "audio/recproc.hpp"
#include "audio/rectmp.hpp"
#include "base/byte_codec.hpp"
#include "platform/sndfile/sndfile_pcm_decoder.hpp"
#include "tests/audio/wav_builder.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

using test::temp_folder;
using test::wav_builder;

std::uint64_t fnv1a(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t h = 0xcbf29ce484222325u;
  for (auto b : bytes) {
    h ^= b;
    h *= 0x100000001b3u;
  }
  return h;
}

// Speech-like and integer-only (no libm, so every build makes the same input): quarter-second
// segments of a triangle tone at levels from silence to clipping, over a little noise, with a
// pause either side. The second channel differs, so taking the wrong channel shows.
std::vector<std::int16_t> program(std::uint32_t rate, int channels, std::uint32_t seconds) {
  constexpr std::array<int, 9> levels = {0, 3000, 12000, 32000, 800, 0, 20000, 6000, 16000};
  const std::uint32_t frames = rate * seconds;
  const std::uint32_t pause = rate * 3 / 10;
  const int period = static_cast<int>(rate / 330);
  std::uint32_t noise = 12345;
  std::vector<std::int16_t> out;
  out.reserve(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels));
  for (std::uint32_t i = 0; i < frames; ++i) {
    noise = noise * 1103515245u + 12345u;
    const int n = static_cast<int>((noise >> 16) & 0x7F) - 64;
    int v = n;
    if (i >= pause && i + pause < frames) {
      const int level = levels[(i * 4 / rate) % levels.size()];
      const int p = static_cast<int>(i % static_cast<std::uint32_t>(period));
      const int tri = p < period / 2 ? 4 * p - period : 3 * period - 4 * p;  // -period .. period
      v += static_cast<int>(static_cast<std::int64_t>(level) * tri / period);
    }
    v = std::clamp(v, -32768, 32767);
    out.push_back(static_cast<std::int16_t>(v));
    for (int c = 1; c < channels; ++c) out.push_back(static_cast<std::int16_t>(-v / (c + 1)));
  }
  return out;
}

std::vector<std::uint8_t> pcm8_wav(std::uint32_t rate, const std::vector<std::int16_t>& s) {
  std::vector<std::uint8_t> body;
  body.reserve(s.size());
  for (auto v : s) body.push_back(static_cast<std::uint8_t>((v >> 8) + 128));
  return wav_builder().fmt(1, 1, rate, 8).chunk("data", body).finish();
}

std::vector<std::uint8_t> pcm24_wav(std::uint32_t rate, int channels,
                                    const std::vector<std::int16_t>& s) {
  std::vector<std::uint8_t> body;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const std::int32_t v = s[i] * 256 + static_cast<std::int32_t>(i % 256);
    body.push_back(static_cast<std::uint8_t>(v));
    body.push_back(static_cast<std::uint8_t>(v >> 8));
    body.push_back(static_cast<std::uint8_t>(v >> 16));
  }
  return wav_builder()
      .fmt(1, static_cast<std::uint16_t>(channels), rate, 24)
      .chunk("data", body)
      .finish();
}

std::vector<std::uint8_t> float_wav(std::uint32_t rate, const std::vector<std::int16_t>& s) {
  std::vector<std::uint8_t> body;
  byte_writer w(body);
  for (auto v : s) {
    const float f = static_cast<float>(v) / 32768.0f;
    std::uint32_t u;
    std::memcpy(&u, &f, 4);
    w.u32(u);
  }
  return wav_builder().fmt(3, 1, rate, 32).chunk("data", body).finish();
}

// 16-bit stereo whose data chunk ends on an odd byte: the last half sample.
std::vector<std::uint8_t> odd_end_wav() {
  std::vector<std::uint8_t> body;
  byte_writer w(body);
  for (auto v : program(44100, 2, 5)) w.i16(v);
  body.push_back(0x55);
  return wav_builder().fmt(1, 2, 44100, 16).chunk("data", body).finish();
}

struct pinned_clip {
  const char* name;
  std::vector<std::uint8_t> bytes;  // empty: the fixture of that name
  std::int32_t id_serial;           // the clip's length in samples, as the announcement says
  std::size_t size;                 // the clip file's bytes
  std::uint64_t hash;
};

// Imports one file into a fresh data folder; the clip's bytes and the announcement's length.
std::vector<std::uint8_t> import_clip(const pinned_clip& c, std::int32_t& id_serial) {
  temp_folder data, src;
  station st(data.path());
  std::string path = std::string(ZTA_FIXTURES) + "/audio/" + c.name;
  if (!c.bytes.empty()) {
    src.write(c.name, c.bytes);
    path = src.file(c.name);
  }
  sndfile_pcm_decoder_factory decoders;
  const int i = import_wav(st, path, &decoders);
  if (i < 0) return {};
  id_serial = st.content.list[i].id_serial;
  return data.read(clip_path(st, st.content.list[i].clip).substr(data.path().size()));
}

TEST(ClipBytes, ImportsAreUnchanged) {
  const pinned_clip cases[] = {
      {"mono 22050.wav", test::pcm16_wav(22050, 1, program(22050, 1, 9)), 181760, 376420,
       0x0bee1779ad4cd068u},
      {"stereo 44100.wav", test::pcm16_wav(44100, 2, program(44100, 2, 30)), 634880, 1302488,
       0x5466894ee76cfb3du},
      {"stereo 48000.wav", test::pcm16_wav(48000, 2, program(48000, 2, 7)), 137728, 288248,
       0xcbe7df28f855a87fu},
      {"mono 11025.wav", test::pcm16_wav(11025, 1, program(11025, 1, 8)), 159744, 332192,
       0xee96b308e20e660fu},
      {"three channels 8000.wav", test::pcm16_wav(8000, 3, program(8000, 3, 6)), 111104, 243344,
       0xd63cc4369c905f92u},
      {"odd end.wav", odd_end_wav(), 89088, 199988, 0xa59a0c612dc0b791u},
      {"eight bit 16000.wav", pcm8_wav(16000, program(16000, 1, 6)), 111104, 243432,
       0x974442fe8ff58fceu},
      {"24 bit stereo 32000.wav", pcm24_wav(32000, 2, program(32000, 2, 6)), 111616, 244304,
       0xf9740a609d45e880u},
      {"float 44100.wav", float_wav(44100, program(44100, 1, 6)), 111104, 244088,
       0x9f910c7325fafb6cu},
      {"tone-ima-adpcm.wav", {}, 6656, 14140, 0xeeb87c38724a627bu},
      {"tone-ms-adpcm-stereo.wav", {}, 6656, 13872, 0x6eb9816937950a53u},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::int32_t id_serial = -1;
    const auto clip = import_clip(c, id_serial);
    ASSERT_FALSE(clip.empty());
    EXPECT_EQ(id_serial, c.id_serial);
    EXPECT_EQ(clip.size(), c.size);
    EXPECT_EQ(fnv1a(clip), c.hash);
  }
}

// A recording: the device's 4096-byte buffers into the temporary file, then the processing.
TEST(ClipBytes, RecordingIsUnchanged) {
  struct row {
    const char* name;
    std::uint32_t seconds;
    std::int32_t id_serial;
    std::size_t size;
    std::uint64_t hash;
  };
  for (const row& c : {row{"short", 4, 61952, 159744, 0x77587e7c4dfa7dd0u},
                       row{"long", 40, 855552, 1744896, 0x0a622a7e4ab39bdfu}}) {
    SCOPED_TRACE(c.name);
    temp_folder data;
    station st(data.path());
    const auto samples = program(22050, 1, c.seconds);
    rectmp tmp;
    ASSERT_TRUE(tmp.is_open());
    constexpr std::size_t per_buffer = record_buffer_bytes / 2;
    std::vector<std::int16_t> buffer(per_buffer);
    for (std::size_t at = 0; at < samples.size(); at += per_buffer) {
      // Every buffer counts as full: the last one is padded with silence.
      std::fill(buffer.begin(), buffer.end(), std::int16_t{0});
      std::copy_n(samples.begin() + static_cast<std::ptrdiff_t>(at),
                  std::min(per_buffer, samples.size() - at), buffer.begin());
      tmp.append_block(buffer.data(), static_cast<std::int32_t>(record_buffer_bytes));
    }
    std::int16_t clip = -1;
    std::int32_t id_serial = 0;
    ASSERT_EQ(process_in_loop(st, tmp, clip, id_serial), recproc_failure::none);
    const auto bytes = data.read(clip_path(st, clip).substr(data.path().size()));
    EXPECT_EQ(id_serial, c.id_serial);
    EXPECT_EQ(bytes.size(), c.size);
    EXPECT_EQ(fnv1a(bytes), c.hash);
  }
}

}  // namespace
}  // namespace zta
