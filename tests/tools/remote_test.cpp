// zta remote without a player: the listing as the companion shows it, the files a request leaves
// in the control folder, what it does when nobody answers, and the requests it refuses to send.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "announcements/remote_folder.hpp"
#include "base/byte_codec.hpp"
#include "tests/audio/wav_builder.hpp"
#include "tests/common/announcement_maker.hpp"
#include "tests/common/temp_folder.hpp"
#include "tests/tools/run_command.hpp"

namespace zta {
namespace {

namespace fs = std::filesystem;
using test::temp_folder;

struct tool_run {
  int status = -1;  // exit status, -1 when it did not end normally
  std::string out;  // standard output and error
};

tool_run zta(const std::string& args) {
  const test::command_result c = test::run_command(std::string(ZTA_TOOL) + " " + args + " 2>&1");
  return {WIFEXITED(c.status) ? WEXITSTATUS(c.status) : -1, c.out};
}

std::vector<std::string> names_in(const temp_folder& d) {
  auto n = d.names();
  std::sort(n.begin(), n.end());
  return n;
}

// A control folder holding a listing of "Sale" (confirm, a two-line script) and "Caf\xE9".
void write_listing(const temp_folder& ctl) {
  ann_blk a = test::always_current("Sale", 0);
  a.confirm = 1;
  a.script = "Half price\r\nuntil noon";
  ann_blk b = test::always_current("Caf\xE9", 1);  // Windows-1252, as older packages have it
  const ann_blk* records[] = {&a, &b};
  ctl.write(listing_file_name, encode_listing(records, 2, 1700000000));
}

TEST(ZtaRemote, ListShowsEachEntryWithItsConfirmFlagAndScript) {
  temp_folder ctl;
  write_listing(ctl);
  const tool_run r = zta("remote list --folder " + ctl.path());
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out,
            "annlist.dat written 2023-11-14 22:13:20: 2 announcements\n"
            "  0  Sale  (confirm)\n"
            "     Half price\n"
            "     until noon\n"
            "  1  Caf\xC3\xA9\n");
}

TEST(ZtaRemote, SendLeavesTheConvertedSoundAndARequestNamingIt) {
  temp_folder ctl, in;
  const std::vector<std::int16_t> mono = test::sine(3000, 300, 22050, 9000);
  in.write("mono.wav", test::pcm16_wav(22050, 1, mono));
  std::vector<std::int16_t> stereo;
  for (auto v : test::sine(44100, 300, 44100, 9000)) stereo.push_back(v), stereo.push_back(-v);
  in.write("stereo.wav", test::pcm16_wav(44100, 2, stereo));

  for (const char* wav : {"mono.wav", "stereo.wav"}) {
    const tool_run r = zta("remote send --folder " + ctl.path() + " " + in.file(wav));
    EXPECT_EQ(r.status, 0) << r.out;
    const auto names = names_in(ctl);
    ASSERT_EQ(names.size(), 2u) << wav;  // NAME.aud and NAME.ply, nothing half written
    const std::string stem = names[0].substr(0, names[0].size() - 4);
    EXPECT_EQ(names[0], stem + ".aud");
    EXPECT_EQ(names[1], stem + ".ply");
    EXPECT_EQ(r.out, stem + ".ply: sent\n");
    EXPECT_EQ(ctl.read(stem + ".ply"), encode_request(request_kind::sound_file, stem + ".aud"));
    const auto sound = ctl.read(stem + ".aud");
    if (std::string(wav) == "mono.wav") {
      std::vector<std::uint8_t> expected(mono.size() * 2);
      for (std::size_t i = 0; i < mono.size(); ++i) store_le(expected.data() + 2 * i, mono[i]);
      EXPECT_EQ(sound, expected);  // the player's own rate: sample for sample
    } else {
      // One second at 44100 Hz, first channel only, becomes one second at 22050 Hz.
      EXPECT_NEAR(static_cast<double>(sound.size()), 2 * 22050.0, 2 * 64.0);
    }
    for (const auto& n : names) fs::remove(ctl.file(n));
  }
}

TEST(ZtaRemote, RequestNobodyTakesIsWithdrawnAtTheTimeout) {
  temp_folder ctl, in;
  write_listing(ctl);
  in.write("tone.wav", test::pcm16_wav(22050, 1, test::sine(2000, 300, 22050, 9000)));
  for (const std::string& args :
       {"play --folder " + ctl.path() + " --index 1 --wait 0",
        "send --folder " + ctl.path() + " " + in.file("tone.wav") + " --wait 1"}) {
    const tool_run r = zta("remote " + args);
    EXPECT_EQ(r.status, 2) << r.out;
    EXPECT_NE(r.out.find(".ply: no acknowledgement within "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" s; the request was withdrawn\n"), std::string::npos) << r.out;
    // Nothing is left to play later, unasked.
    EXPECT_EQ(names_in(ctl), std::vector<std::string>{listing_file_name}) << args;
  }
}

struct refused_case {
  const char* name;
  std::string args;  // after "remote", with CTL and IN standing for the folders
  const char* says;
};
void PrintTo(const refused_case& c, std::ostream* os) {
  *os << c.name;
}

class ZtaRemoteRefuses : public ::testing::TestWithParam<refused_case> {};

TEST_P(ZtaRemoteRefuses, ToSendAndLeavesNothingBehind) {
  temp_folder ctl, in;
  write_listing(ctl);
  ::mkfifo(in.file("fifo.wav").c_str(), 0600);
  in.write("text.wav", std::string("not a wave file"));
  in.write("silence.wav", test::pcm16_wav(22050, 1, {}));
  std::string args = GetParam().args;
  for (auto [from, to] :
       {std::pair<std::string, std::string>{"CTL", ctl.path()}, {"IN", in.path()}})
    for (std::size_t at; (at = args.find(from)) != std::string::npos;)
      args.replace(at, from.size(), to);
  const tool_run r = zta("remote " + args);
  EXPECT_EQ(r.status, 3) << r.out;
  EXPECT_NE(r.out.find(GetParam().says), std::string::npos) << r.out;
  EXPECT_EQ(names_in(ctl), std::vector<std::string>{listing_file_name});
}

INSTANTIATE_TEST_SUITE_P(
    Remote, ZtaRemoteRefuses,
    ::testing::Values(
        refused_case{"NoFolderOption", "list", "needs --folder"},
        refused_case{"MissingFolder", "list --folder CTL/nowhere", "does not exist"},
        refused_case{"UnknownAction", "ring --folder CTL", "remote list | play"},
        refused_case{"NameAndIndex", "play --folder CTL --name Sale --index 0", "either"},
        refused_case{"NeitherNameNorIndex", "play --folder CTL", "either"},
        refused_case{"NameTooLong", "play --folder CTL --name " + std::string(32, 'n'),
                     "1 to 31 bytes"},
        refused_case{"IndexBeyondTheListing", "play --folder CTL --index 2", "no entry 2"},
        refused_case{"IndexNotANumber", "play --folder CTL --index -1", "listing index"},
        refused_case{"WaitNotANumber", "play --folder CTL --name Sale --wait soon",
                     "whole seconds"},
        refused_case{"WaitOverADay", "play --folder CTL --name Sale --wait 86401", "whole seconds"},
        refused_case{"SendWithoutFile", "send --folder CTL", "remote list | play"},
        refused_case{"SendAPipe", "send --folder CTL IN/fifo.wav", "not a readable file"},
        refused_case{"SendNoWave", "send --folder CTL IN/text.wav", "not a WAV file"},
        refused_case{"SendNothingToHear", "send --folder CTL IN/silence.wav",
                     "empty \"data\" chunk"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZtaRemote, ListingThatIsNotARegularFileIsNeverRead) {
  temp_folder ctl;
  ASSERT_EQ(::mkfifo(ctl.file(listing_file_name).c_str(), 0600), 0);  // would block a plain open
  const tool_run r = zta("remote list --folder " + ctl.path());
  EXPECT_EQ(r.status, 3) << r.out;
  EXPECT_NE(r.out.find("no readable listing"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace zta
