#include "audio/acmwav.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <future>
#include <thread>
#include <vector>

#include "tests/audio/wav_builder.hpp"
#include "tests/audio/wav_reading.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

using test::capture_sink;
using test::pcm16_wav;
using test::read_wav;
using test::sine;
using test::temp_folder;
using test::wav_builder;

std::vector<std::int16_t> ramp(int n) {
  std::vector<std::int16_t> s(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    s[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i * 7 - 20000);
  return s;
}

// A file chosen for import may be anything: what is not a regular file is refused at once
// (a named pipe must not hang the program in its open), a link to a WAV file is followed.
TEST(Acmwav, OnlyARegularFileOpensAndTheOpenNeverWaits) {
  temp_folder dir;
  dir.write("real.wav", pcm16_wav(22050, 1, ramp(100)));
  std::filesystem::create_symlink(dir.file("real.wav"), dir.file("link.wav"));
  ASSERT_EQ(::mkfifo(dir.file("pipe.wav").c_str(), 0600), 0);
  std::filesystem::create_directory(dir.file("folder.wav"));
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const std::string sock_path = dir.file("socket.wav");
  ASSERT_LT(sock_path.size(), sizeof addr.sun_path);
  sock_path.copy(addr.sun_path, sock_path.size());
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  // Should the open wait on the pipe after all, a writer comes by and lets it go, so the test
  // fails instead of hanging.
  std::promise<void> finished;
  std::thread unblock([path = dir.file("pipe.wav"), done = finished.get_future()] {
    if (done.wait_for(std::chrono::seconds(3)) == std::future_status::ready) return;
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  });
  const struct {
    const char* name;
    bool opens;
  } cases[] = {{"real.wav", true},
               {"link.wav", true},
               {"pipe.wav", false},
               {"folder.wav", false},
               {"socket.wav", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::capture_sink sink;
    acmwav w;
    EXPECT_EQ(w.open(dir.file(c.name), &sink), c.opens);
    EXPECT_EQ(w.error(), c.opens ? wav_error::none : wav_error::no_file);
  }
  finished.set_value();
  unblock.join();
  ::close(sock);
}

TEST(Acmwav, Mono22050PassesThroughUnchangedInWholePieces) {
  const auto x = ramp(3000);
  const auto r = read_wav(pcm16_wav(22050, 1, x));
  ASSERT_TRUE(r.opened);
  EXPECT_EQ(r.sink.samples, x);
  EXPECT_EQ(r.sink.block_bytes, (std::vector<std::int32_t>{2048, 2048, 6000 - 4096}));
}

TEST(Acmwav, StereoKeepsTheFirstChannel) {
  std::vector<std::int16_t> inter;
  const auto left = ramp(2000);
  for (auto v : left)
    inter.push_back(v), inter.push_back(static_cast<std::int16_t>(-v)), inter.push_back(5);
  const auto r = read_wav(pcm16_wav(22050, 3, inter));
  ASSERT_TRUE(r.opened);
  EXPECT_EQ(r.sink.samples, left);
}

TEST(Acmwav, RateConversionAndItsLimits) {
  struct row {
    std::uint32_t rate;
    bool converted;
  };
  for (const row& c : {row{44100, true}, row{8000, true}, row{6000, true}, row{98000, true},
                       row{5000, false}, row{192000, false}, row{22050, false}}) {
    SCOPED_TRACE(c.rate);
    temp_folder dir;
    const int n = static_cast<int>(c.rate / 4);  // a quarter of a second
    dir.write("in.wav", pcm16_wav(c.rate, 1, sine(n, 440, c.rate, 20000)));
    capture_sink sink;
    acmwav w;
    ASSERT_TRUE(w.open(dir.file("in.wav"), &sink));
    EXPECT_EQ(w.converter() != nullptr, c.converted);
    while (w.step()) {
    }
    if (!c.converted) {
      EXPECT_EQ(sink.samples.size(), static_cast<std::size_t>(n));
      continue;
    }
    // Every input from the filter's centre (31 samples in) to the end, at L/M outputs each.
    const double expect = (n - 31.0) * w.converter()->phases() / w.converter()->step();
    const double per_input = static_cast<double>(w.converter()->phases()) / w.converter()->step();
    EXPECT_NEAR(static_cast<double>(sink.samples.size()), expect, 1 + 2 * per_input);
    const auto peak = *std::max_element(sink.samples.begin(), sink.samples.end());
    EXPECT_NEAR(peak, 10000, 300);
  }
}

TEST(Acmwav, Convert44100Uses1Over2) {
  temp_folder dir;
  dir.write("in.wav", pcm16_wav(44100, 2, std::vector<std::int16_t>(200, 0)));
  capture_sink sink;
  acmwav w;
  ASSERT_TRUE(w.open(dir.file("in.wav"), &sink));
  ASSERT_NE(w.converter(), nullptr);
  EXPECT_EQ(w.converter()->phases(), 1);
  EXPECT_EQ(w.converter()->step(), 2);
  // Stereo: mono stage 2048 / 2 + 1 bytes; converted 2 x (1 x (512 + 31) / 2 + 2).
  EXPECT_EQ(w.capacity(2), 1025);
  EXPECT_EQ(w.capacity(3), 2 * (543 / 2 + 2));
}

// Every chunk layout the walk must accept or refuse.
TEST(Acmwav, ChunkWalk) {
  const std::vector<std::uint8_t> fmt16 = [] {
    std::vector<std::uint8_t> b;
    byte_writer w(b);
    w.u16(1), w.u16(1), w.u32(22050), w.u32(44100), w.u16(2), w.u16(16);
    return b;
  }();
  const std::vector<std::uint8_t> four_samples = {1, 0, 2, 0, 3, 0, 4, 0};
  auto odd_fmt = fmt16;
  odd_fmt.push_back(0xEE);  // 17 bytes, then a pad byte

  struct row {
    const char* name;
    std::vector<std::uint8_t> bytes;
    wav_error error;  // none: accepted
  };
  const row rows[] = {
      {"plain", wav_builder().chunk("fmt ", fmt16).chunk("data", four_samples).finish(),
       wav_error::none},
      {"LIST before fmt",
       wav_builder()
           .chunk("LIST", {'I', 'N', 'F', 'O', 'x'})
           .chunk("fmt ", fmt16)
           .chunk("data", four_samples)
           .finish(),
       wav_error::none},
      {"odd-sized fmt with its pad byte",
       wav_builder().chunk("fmt ", odd_fmt).chunk("data", four_samples).finish(), wav_error::none},
      {"fmt of 14 bytes",
       wav_builder()
           .chunk("fmt ", {1, 0, 1, 0, 0x22, 0x56, 0, 0, 0, 0, 0, 0, 2, 0})
           .chunk("data", four_samples)
           .finish(),
       wav_error::cannot_decode},  // no bits field, so not 16-bit PCM: needs a decoder
      {"junk header before RIFF",
       [&] {
         auto inner = wav_builder().chunk("fmt ", fmt16).chunk("data", four_samples).finish();
         std::vector<std::uint8_t> b = {'J', 'U', 'N', 'K', 6,   0,   0,
                                        0,   'x', 'x', 'x', 'x', 'y', 'y'};
         // Resize then copy: gcc 12 misreads insert() into a list-initialised vector at -O2.
         const std::size_t head = b.size();
         b.resize(head + inner.size());
         std::copy(inner.begin(), inner.end(), b.begin() + static_cast<std::ptrdiff_t>(head));
         return b;
       }(),
       wav_error::none},
      {"empty file", {}, wav_error::not_riff},
      {"text",
       {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '\n'},
       wav_error::not_riff},
      {"tiny foreign header",
       {'A', 'B', 'C', 'D', 3, 0, 0, 0, 'E', 'F', 'G', 'H'},
       wav_error::not_riff},
      {"RIFF but AVI", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}, wav_error::not_riff},
      {"no fmt", wav_builder().chunk("data", four_samples).finish(), wav_error::no_format},
      {"fmt of 12 bytes",
       wav_builder()
           .chunk("fmt ", std::vector<std::uint8_t>(12))
           .chunk("data", four_samples)
           .finish(),
       wav_error::no_format},
      {"fmt of 5000 bytes", wav_builder().chunk("fmt ", std::vector<std::uint8_t>(5000)).finish(),
       wav_error::no_format},
      {"fmt cut short", wav_builder().raw("fmt ").u32(16).u16(1).finish(), wav_error::no_format},
      {"zero-size chunk before fmt",
       wav_builder().chunk("JUNK", {}).chunk("fmt ", fmt16).chunk("data", four_samples).finish(),
       wav_error::no_format},
      {"no data", wav_builder().chunk("fmt ", fmt16).finish(), wav_error::no_data},
      {"zero-size chunk before data",
       wav_builder().chunk("fmt ", fmt16).chunk("fact", {}).chunk("data", four_samples).finish(),
       wav_error::no_data},
      {"negative chunk size",
       wav_builder()
           .chunk("fmt ", fmt16)
           .chunk("JUNK", {1, 2}, 0x80000000)
           .chunk("data", four_samples)
           .finish(),
       wav_error::no_data},
      {"chunk beyond the end",
       wav_builder().chunk("fmt ", fmt16).chunk("JUNK", {1, 2}, 0x7FFFFFF0).finish(),
       wav_error::no_data},
      {"empty data", wav_builder().chunk("fmt ", fmt16).chunk("data", {}).finish(),
       wav_error::empty_data},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    const auto got = read_wav(r.bytes);
    EXPECT_EQ(got.opened, r.error == wav_error::none);
    EXPECT_EQ(got.error, r.error);
    if (r.error == wav_error::none) {
      EXPECT_EQ(got.sink.samples, (std::vector<std::int16_t>{1, 2, 3, 4}));
    } else {
      EXPECT_TRUE(got.sink.samples.empty());
    }
  }
}

TEST(Acmwav, DamagedDataGivesAudioUpToTheDamage) {
  // The data chunk claims far more than the file holds: whole pieces before the end arrive.
  auto bytes = pcm16_wav(22050, 1, ramp(3000));
  store_le<std::uint32_t>(bytes.data() + 40, 0xFFFFFFF0u);
  const auto r = read_wav(bytes);
  ASSERT_TRUE(r.opened);
  EXPECT_EQ(r.sink.samples, std::vector<std::int16_t>(ramp(2048)));
  // A 16-bit file with an odd data size ends with a one-byte block.
  auto odd = wav_builder().fmt(1, 1, 22050, 16).chunk("data", {1, 0, 2, 0, 3}).finish();
  const auto o = read_wav(odd);
  ASSERT_TRUE(o.opened);
  EXPECT_EQ(o.sink.block_bytes, std::vector<std::int32_t>{5});
  EXPECT_EQ(o.sink.samples, (std::vector<std::int16_t>{1, 2}));
}

TEST(Acmwav, OddChannelCountsCountAsOne) {
  for (std::uint16_t ch : {0, 17, 65535}) {
    auto bytes = pcm16_wav(22050, 1, ramp(100));
    store_le<std::uint16_t>(bytes.data() + 22, ch);
    store_le<std::uint16_t>(bytes.data() + 32, 0);  // block align 0 as well
    const auto r = read_wav(bytes);
    ASSERT_TRUE(r.opened) << ch;
    EXPECT_EQ(r.sink.samples, ramp(100)) << ch;
  }
}

TEST(Acmwav, NonPcm16NeedsADecoder) {
  auto bytes = wav_builder().fmt(1, 1, 22050, 8).chunk("data", {0x80, 0xFF, 0x00, 0x81}).finish();
  EXPECT_EQ(read_wav(bytes).error, wav_error::cannot_decode);
}

}  // namespace
}  // namespace zta
