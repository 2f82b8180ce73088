// The announcement player against a device that completes buffers on demand.
#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "announcements/clip_files.hpp"
#include "announcements/day_part.hpp"
#include "audio/announcement_player.hpp"
#include "platform/sim/recording_aux_mixer.hpp"
#include "platform/sim/test_wave_out.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ramp_bytes(std::size_t samples, int start) {
  std::vector<std::uint8_t> b;
  for (std::size_t i = 0; i < samples; ++i) {
    auto s = static_cast<std::uint16_t>(start + static_cast<int>(i) * 7);
    b.push_back(static_cast<std::uint8_t>(s));
    b.push_back(static_cast<std::uint8_t>(s >> 8));
  }
  return b;
}

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = folder.root();
    st.data_folder = dir.string() + "/";
    st.clock.set(1700000000);
    st.settings.sound_out_device = 0;
    st.settings.announcement_level = 100;
    st.settings.music_device = 0;
    st.settings.mic_device = 1;
    st.settings.music_up_level = 50;
    st.settings.music_down_level = 10;
    st.settings.mic_level = 80;
    st.settings.chimes = 2;
    ann.set_name("Sale");
    ann.clip = 0;
    ann.chimes = 1;
    st.clip_use[0] = clip_allocated;
  }

  void put_clip(std::size_t samples) {
    clip = ramp_bytes(samples, 100);
    write_file(clip_path(st, 0), clip);
  }
  void put_chime(std::vector<std::uint8_t> bytes) {
    chime = std::move(bytes);
    write_file(chime_path(st, 2), chime);
  }

  zta::test::temp_folder folder;  // removed with everything in it
  fs::path dir;
  station st;
  test_wave_out device;
  recording_aux_mixer mixer;
  std::vector<std::string> logged;  // names the player logged, in order
  announcement_player player{st, device, mixer, [this](const station&, const ann_blk& a) {
                               logged.emplace_back(a.name_text());
                             }};
  ann_blk ann;
  std::vector<std::uint8_t> clip, chime;
};

struct programme_case {
  const char* name;
  std::size_t chime_samples;
  std::size_t clip_samples;
  int chimes_setting;
  int ann_chimes;
  bool chime_heard;
  std::size_t blocks;  // whole programme, at least nine
};
void PrintTo(const programme_case& c, std::ostream* os) {
  *os << c.name;
}

class ProgrammeBytes : public PlayerTest, public ::testing::WithParamInterface<programme_case> {};

TEST_P(ProgrammeBytes, ChimeThenClipThenSilenceToWholeBlocks) {
  const auto& c = GetParam();
  put_chime(ramp_bytes(c.chime_samples, -5000));
  put_clip(c.clip_samples);
  st.settings.chimes = static_cast<std::uint8_t>(c.chimes_setting);
  ann.chimes = static_cast<std::uint8_t>(c.ann_chimes);

  player.play_announcement(&ann);
  ASSERT_TRUE(player.is_open());
  EXPECT_EQ(device.queued(), 9u);
  EXPECT_EQ(device.last_format.channels, 1);
  EXPECT_EQ(device.last_format.rate, 22050);
  device.complete_all();
  EXPECT_FALSE(player.is_open());
  EXPECT_FALSE(device.is_open());

  std::vector<std::uint8_t> expected;
  if (c.chime_heard) expected = chime;
  expected.insert(expected.end(), clip.begin(), clip.end());
  expected.resize(c.blocks * block_bytes, 0);
  ASSERT_EQ(device.written.size(), expected.size());
  EXPECT_TRUE(device.written == expected);
  EXPECT_EQ(device.completed, c.blocks);
  EXPECT_EQ(logged, std::vector<std::string>{"Sale"});
}

const programme_case programme_cases[] = {
    {"ChimeAndClipInNineBlocks", 3000, 10000, 2, 1, true, 9},
    {"ExactBlocksEndWithASilentBlock", 8192, 8192 * 11, 2, 1, true, 13},
    {"LongClipPaddedToNextBlock", 0, 8192 * 12 + 100, 2, 1, true, 13},
    {"AnnouncementWithoutChimeFlag", 3000, 10000, 2, 0, false, 9},
    {"NoChimesSetting", 3000, 10000, 0, 1, false, 9},
};
INSTANTIATE_TEST_SUITE_P(Player, ProgrammeBytes, ::testing::ValuesIn(programme_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerTest, OddChimeByteIsDroppedSoTheClipStaysSampleAligned) {
  auto odd = ramp_bytes(101, 3);
  odd.push_back(0x5A);  // a half sample at the end of the chime
  put_chime(odd);
  put_clip(500);
  player.play_announcement(&ann);
  device.complete_all();
  std::vector<std::uint8_t> expected(odd.begin(), odd.end() - 1);
  expected.insert(expected.end(), clip.begin(), clip.end());
  expected.resize(9 * block_bytes, 0);
  EXPECT_TRUE(device.written == expected);
}

TEST_F(PlayerTest, OddTrailingByteOfASoundFileIsNotPlayed) {
  st.settings.chimes = 0;
  auto odd = ramp_bytes(10, 9);
  odd.push_back(0x7F);
  std::string path = (dir / "remote.raw").string();
  write_file(path, odd);
  player.play_file(path);
  device.complete_all();
  std::vector<std::uint8_t> expected(odd.begin(), odd.end() - 1);
  expected.resize(9 * block_bytes, 0);
  EXPECT_TRUE(device.written == expected);
  EXPECT_FALSE(fs::exists(path));  // deleted once played
  EXPECT_TRUE(logged.empty());     // remote files are not logged
}

TEST_F(PlayerTest, BalancedFramesNegateTheRightChannel) {
  st.settings.balanced = 1;
  st.settings.chimes = 0;
  std::vector<std::uint8_t> samples;
  for (std::int16_t s : {1000, -32768, 32767, 0, -1}) {
    samples.push_back(static_cast<std::uint8_t>(s));
    samples.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(s) >> 8));
  }
  write_file(clip_path(st, 0), samples);
  player.play_announcement(&ann);
  EXPECT_EQ(device.last_format.channels, 2);
  device.complete_all();
  ASSERT_EQ(device.written.size(), 9 * 2 * block_bytes);
  auto frame = [&](std::size_t i, int ch) {
    return static_cast<std::int16_t>(device.written[4 * i + 2 * ch] |
                                     device.written[4 * i + 2 * ch + 1] << 8);
  };
  const std::int16_t left[] = {1000, -32768, 32767, 0, -1, 0};
  const std::int16_t right[] = {-1000, -32768, -32767, 0, 1, 0};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(frame(i, 0), left[i]) << i;
    EXPECT_EQ(frame(i, 1), right[i]) << i;
  }
}

TEST_F(PlayerTest, VolumeWordsFollowTheAnnouncementLevel) {
  put_clip(10);
  for (auto [level, word] : {std::pair<int, std::uint32_t>{100, 0xFFFFFFFF},
                             {0, 0},
                             {65, 0xA665A665},
                             {50, 0x7FFF7FFF}}) {
    st.settings.announcement_level = static_cast<std::uint8_t>(level);
    player.play_announcement(&ann);
    ASSERT_FALSE(device.volumes.empty());
    EXPECT_EQ(device.volumes.back(), word) << level;
  }
}

TEST_F(PlayerTest, MusicIsLoweredDuringPlayAndRestoredAfter) {
  put_clip(10);
  const auto up = volume_word(50), down = volume_word(10);
  player.play_announcement(&ann);
  EXPECT_EQ(mixer.history, (decltype(mixer.history){{0, down}}));
  // A second request cuts the first off: music back up, then down again.
  player.play_announcement(&ann);
  EXPECT_EQ(mixer.history, (decltype(mixer.history){{0, down}, {0, up}, {0, down}}));
  device.complete_all();
  EXPECT_EQ(mixer.last(0), up);
  EXPECT_EQ(device.opens, 2);
}

TEST_F(PlayerTest, PageLowersMusicOpensMicAndRestoresOnRelease) {
  put_chime(ramp_bytes(100, 1));
  const auto up = volume_word(50), down = volume_word(10), mic = volume_word(80);
  player.page_start();
  EXPECT_TRUE(player.page_active());
  EXPECT_TRUE(player.is_open());  // the page chime
  EXPECT_EQ(mixer.last(0), down);
  EXPECT_EQ(mixer.last(1), mic);
  EXPECT_TRUE(logged.empty());
  device.complete_all();  // the chime ends while the page goes on: music stays down
  EXPECT_EQ(mixer.last(0), down);
  player.page_start();  // a second press changes nothing
  EXPECT_EQ(device.opens, 1);
  player.page_stop();
  EXPECT_FALSE(player.page_active());
  EXPECT_EQ(mixer.last(0), up);
  EXPECT_EQ(mixer.last(1), 0u);
}

TEST_F(PlayerTest, PageWithNoChimesStillMovesTheLines) {
  st.settings.chimes = 0;
  player.page_start();
  EXPECT_EQ(mixer.last(0), volume_word(10));
  EXPECT_EQ(mixer.last(1), volume_word(80));
  player.page_stop();
  EXPECT_EQ(mixer.last(0), volume_word(50));
  EXPECT_EQ(mixer.last(1), 0u);
  EXPECT_FALSE(player.is_open());
}

TEST_F(PlayerTest, ClipIsDeletedOnlyWhenTheLastUserLetsGo) {
  put_clip(8192 * 12);  // longer than the nine buffers, so it is still open
  player.play_announcement(&ann);
  EXPECT_EQ(st.clip_use[0], clip_allocated | clip_held);
  release_clip(st, 0);  // the announcement is deleted while it plays
  EXPECT_TRUE(fs::exists(clip_path(st, 0)));
  device.complete_all();
  EXPECT_EQ(st.clip_use[0], 0);
  EXPECT_FALSE(fs::exists(clip_path(st, 0)));
}

TEST_F(PlayerTest, ClipStillOwnedStaysAfterPlay) {
  put_clip(8192 * 12);
  player.play_announcement(&ann);
  player.stop();
  EXPECT_EQ(st.clip_use[0], clip_allocated);
  EXPECT_TRUE(fs::exists(clip_path(st, 0)));
}

TEST_F(PlayerTest, MissingClipPlaysNineBlocksOfSilenceWithoutChime) {
  put_chime(ramp_bytes(100, 1));
  player.play_announcement(&ann);
  EXPECT_EQ(logged.size(), 1u);
  device.complete_all();
  EXPECT_EQ(device.written, std::vector<std::uint8_t>(9 * block_bytes, 0));
}

TEST_F(PlayerTest, NoSoundOutDeviceLogsButOpensNothing) {
  put_clip(10);
  st.settings.sound_out_device = -1;
  player.play_announcement(&ann);
  EXPECT_FALSE(player.is_open());
  EXPECT_EQ(device.opens, 0);
  EXPECT_EQ(logged.size(), 1u);
  EXPECT_EQ(st.clip_use[0], clip_allocated);  // released again
}

TEST_F(PlayerTest, FailedOpenDropsThePlayAndDeletesTheRemoteFile) {
  device.fail_open = true;
  std::string path = (dir / "remote.raw").string();
  write_file(path, ramp_bytes(10, 0));
  player.play_file(path);
  EXPECT_FALSE(player.is_open());
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(mixer.history.empty());
}

TEST_F(PlayerTest, UnopenableRemoteFileStillPlaysSilence) {
  st.settings.chimes = 0;
  player.play_file((dir / "absent.raw").string());
  EXPECT_TRUE(player.is_open());
  device.complete_all();
  EXPECT_EQ(device.written.size(), 9 * block_bytes);
}

TEST_F(PlayerTest, NoBufferQueuedStopsAtOnce) {
  put_clip(10);
  device.fail_write = true;
  player.play_announcement(&ann);
  EXPECT_FALSE(player.is_open());
  EXPECT_FALSE(device.is_open());
  EXPECT_EQ(mixer.last(0), volume_word(50));
}

TEST_F(PlayerTest, StaleCompletionIsIgnored) {
  put_clip(10);
  player.play_announcement(&ann);
  wave_header stray{};
  stray.flags = wave_done;
  player.buffer_done(stray);  // not one of the player's buffers
  EXPECT_EQ(player.outstanding(), 9);
  player.stop();
  wave_header late{};
  late.flags = wave_done;
  player.buffer_done(late);
  EXPECT_FALSE(player.is_open());
}

}  // namespace
}  // namespace zta

namespace zta {
namespace {

// A device that ignores the samples gets the same programme length as one that plays them.
TEST_F(PlayerTest, SampleBlindDeviceSeesTheSameProgrammeLength) {
  for (std::size_t clip_bytes : {std::size_t{1}, std::size_t{16383}, std::size_t{16384 * 12 - 1},
                                 std::size_t{16384 * 12}, std::size_t{16384 * 12 + 3}}) {
    std::vector<std::uint64_t> completed;
    for (bool keep : {true, false}) {
      auto odd = ramp_bytes(4097, 1);
      odd.push_back(1);
      put_chime(odd);
      write_file(clip_path(st, 0), std::vector<std::uint8_t>(clip_bytes, 9));
      test_wave_out blind;
      blind.keep_written = keep;
      announcement_player p(st, blind, mixer, &no_play_log);
      p.play_announcement(&ann);
      blind.complete_all();
      completed.push_back(blind.completed);
    }
    EXPECT_EQ(completed[0], completed[1]) << clip_bytes;
  }
}

// How two plays in a row went, as the schedule and its missed file see them.
struct play_trace {
  std::vector<play_outcome> outcomes;
  std::vector<std::uint64_t> completed;  // buffers completed by the end of each play
  std::vector<std::string> missed;       // reasons, in order
  bool operator==(const play_trace&) const = default;
};

// A device that ignores the samples, whether its player opens the files at every play or once
// (fixed files), sees what a device that plays them sees: the programme's length, its outcome and
// its missed records, at the second play too.
TEST_F(PlayerTest, CountedPlaysGoAsPlayedOnes) {
  struct row {
    const char* what;
    std::optional<std::size_t> clip_bytes;   // none: no clip file
    std::optional<std::size_t> chime_bytes;  // none: no chime file
    int cut_after = 0;                       // completions before Stop; 0: played to the end
    bool clip_is_folder = false;
  };
  const row rows[] = {
      {"short clip after an odd chime", 3001, 8195},
      {"clip of many blocks, odd length", 16384 * 12 + 3, 8192},
      {"long clip cut off midway", 16384 * 20, 8192, 12},
      {"clip ending in the second buffer, cut after the first", 4000, 14000, 1},
      {"clip ending in the second buffer, cut after it", 4000, 14000, 2},
      {"missing clip", std::nullopt, 8192},
      {"missing chime", 5000, std::nullopt},
      {"a folder where the clip should be", 0, 14000, 1, true},
  };
  for (const row& r : rows) {
    fs::remove_all(clip_path(st, 0));
    fs::remove(chime_path(st, 2));
    if (r.clip_is_folder)
      fs::create_directory(clip_path(st, 0));
    else if (r.clip_bytes)
      write_file(clip_path(st, 0), std::vector<std::uint8_t>(*r.clip_bytes, 5));
    if (r.chime_bytes) put_chime(std::vector<std::uint8_t>(*r.chime_bytes, 3));

    std::vector<play_trace> traces;
    for (auto [keep, fixed] : {std::pair{true, false}, {false, false}, {false, true}}) {
      play_trace t;
      test_wave_out dev;
      dev.keep_written = keep;
      announcement_player p(st, dev, mixer, &no_play_log, missed_log([&t](const missed_entry& e) {
                              t.missed.push_back(e.reason);
                            }));
      p.set_fixed_files(fixed);
      for (int play = 0; play < 2; ++play) {
        p.play_announcement(&ann);
        t.outcomes.push_back(p.last_outcome());
        if (r.cut_after > 0) {
          for (int i = 0; i < r.cut_after; ++i) dev.complete_next();
          p.stop();
        } else {
          dev.complete_all();
        }
        t.completed.push_back(dev.completed);
      }
      traces.push_back(t);
    }
    EXPECT_EQ(traces[1], traces[0]) << r.what << ": opened at every play";
    EXPECT_EQ(traces[2], traces[0]) << r.what << ": fixed files";
  }
}

// Only a player told that its files stay as they are, with a device that ignores the samples,
// keeps what the first open told: the program's player finds a clip gone at the next play.
TEST_F(PlayerTest, OnlyFixedFilesAreOpenedOnce) {
  for (auto [keep, fixed, second] : {std::tuple{true, false, play_outcome::no_sound},
                                     {true, true, play_outcome::no_sound},
                                     {false, false, play_outcome::no_sound},
                                     {false, true, play_outcome::started}}) {
    put_clip(3000);
    test_wave_out dev;
    dev.keep_written = keep;
    announcement_player p(st, dev, mixer, &no_play_log, missed_log());
    p.set_fixed_files(fixed);
    p.play_announcement(&ann);
    EXPECT_EQ(p.last_outcome(), play_outcome::started);
    dev.complete_all();
    fs::remove(clip_path(st, 0));
    p.play_announcement(&ann);
    EXPECT_EQ(p.last_outcome(), second) << "keep " << keep << ", fixed " << fixed;
    dev.complete_all();
  }
}

}  // namespace
}  // namespace zta

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

namespace zta {
namespace {

TEST_F(PlayerTest, SoundFileThatIsAPipeIsNotWaitedFor) {
  st.settings.chimes = 0;
  const std::string path = (dir / "remote.raw").string();
  ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
  auto played = std::async(std::launch::async, [&] { player.play_file(path); });
  const bool returned = played.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
  if (!returned) {
    // Release the open the player is stuck in, so the test fails instead of hanging.
    int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  }
  played.get();
  EXPECT_TRUE(returned) << "the player waited for a writer of the pipe";
  EXPECT_TRUE(player.is_open()) << "plays silence, as for a file it cannot open";
  device.complete_all();
  EXPECT_EQ(device.written.size(), 9 * block_bytes);
}

}  // namespace
}  // namespace zta
