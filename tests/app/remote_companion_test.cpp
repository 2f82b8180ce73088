// The remote companion (`zta remote`) against a real headless player on the simulated sound card,
// and the headless player under a fake service manager (a notify socket the test binds).
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "announcements/remote_folder.hpp"
#include "announcements/settings_store.hpp"
#include "base/byte_codec.hpp"
#include "platform/sim/system_wall_clock.hpp"
#include "tests/app/player_process.hpp"
#include "tests/audio/wav_builder.hpp"
#include "tests/common/announcement_maker.hpp"
#include "tests/tools/run_command.hpp"

namespace zta::test {
namespace {

namespace fs = std::filesystem;

// The exit status of a finished command (-1 when it did not end normally).
int exit_code(const command_result& r) {
  return WIFEXITED(r.status) ? WEXITSTATUS(r.status) : -1;
}

class RemoteCompanionTest : public ProcessTest {
 protected:
  void SetUp() override {
    ProcessTest::SetUp();
    // Eight times faster than real time: each play is over in a fraction of a second.
    env.insert("ZTA_AUDIO", QString::fromStdString("sim:" + dir.file("played") + ":speed=8"));
    system_wall_clock wall;
    station st(dir.path(), wall.local_now());
    st.settings.chimes = 0;
    set_field_text(st.settings.control_folder, ctl());
    ann_blk sale = always_current("Sale", 0);
    sale.manual = 1;
    sale.confirm = 1;
    sale.script = "Half price\r\nuntil noon";
    st.content.list.push_back(sale);
    ann_blk closing = always_current("Closing", 1);
    closing.manual = 1;
    st.content.list.push_back(closing);
    ann_blk silent = always_current("Silent", 2);  // its clip file is missing
    silent.manual = 1;
    st.content.list.push_back(silent);
    dir.write("vrxpa.dat", encode_settings_file(st));
    dir.write("afl000.aud", std::vector<std::uint8_t>(4410, 0x11));
    dir.write("afl001.aud", std::vector<std::uint8_t>(4410, 0x22));
  }

  command_result zta(const std::string& args) {
    return run_command(std::string(ZTA_TOOL) + " " + args + " 2>&1");
  }
  // The shared folder lies outside the data folder (the player refuses one inside it).
  std::string ctl() const { return shared.root().string(); }
  // Waits until the player has written its listing.
  bool listing_written() {
    for (int waited = 0; waited < 30000; waited += 100) {
      if (fs::exists(ctl() + "/annlist.dat")) return true;
      QTest::qWait(100);
    }
    return false;
  }
  std::vector<std::string> ctl_names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(ctl())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::uint8_t> played() const { return dir.read("played/wave_out-1ch.wav"); }

  temp_folder shared;
};

bool contains(const std::vector<std::uint8_t>& hay, const std::vector<std::uint8_t>& needle) {
  return std::search(hay.begin(), hay.end(), needle.begin(), needle.end()) != hay.end();
}

TEST_F(RemoteCompanionTest, ListPlayAndSendAgainstTheHeadlessPlayer) {
  QProcess* player = start({"/service"});
  ASSERT_TRUE(listing_written());

  const command_result list = zta("remote list --folder " + ctl());
  EXPECT_EQ(exit_code(list), 0) << list.out;
  EXPECT_NE(list.out.find(": 3 announcements\n"
                          "  0  Sale  (confirm)\n"
                          "     Half price\n"
                          "     until noon\n"
                          "  1  Closing\n"
                          "  2  Silent\n"),
            std::string::npos)
      << list.out;

  // The first poll comes ten seconds after the start; --wait covers it.
  const command_result by_name = zta("remote play --folder " + ctl() + " --name sALE --wait 60");
  EXPECT_EQ(exit_code(by_name), 0) << by_name.out;
  EXPECT_NE(by_name.out.find(".ply played at "), std::string::npos) << by_name.out;
  EXPECT_NE(by_name.out.find(": started \"Sale\"\n"), std::string::npos) << by_name.out;
  EXPECT_TRUE(contains(played(), std::vector<std::uint8_t>(4410, 0x11)));

  const command_result by_index = zta("remote play --folder " + ctl() + " --index 1 --wait 60");
  EXPECT_EQ(exit_code(by_index), 0) << by_index.out;
  EXPECT_NE(by_index.out.find(": started \"Closing\"\n"), std::string::npos) << by_index.out;

  const command_result unknown = zta("remote play --folder " + ctl() + " --name Sael --wait 60");
  EXPECT_EQ(exit_code(unknown), 1) << unknown.out;
  EXPECT_NE(unknown.out.find(".ply refused at "), std::string::npos) << unknown.out;
  EXPECT_NE(unknown.out.find(": no current announcement is named \"Sael\"\n"), std::string::npos)
      << unknown.out;

  const command_result no_clip = zta("remote play --folder " + ctl() + " --index 2 --wait 60");
  EXPECT_EQ(exit_code(no_clip), 1) << no_clip.out;
  EXPECT_NE(no_clip.out.find(": the clip of \"Silent\" is missing or unreadable\n"),
            std::string::npos)
      << no_clip.out;

  // A sound at the player's own rate arrives sample for sample.
  const std::vector<std::int16_t> tone = sine(6000, 440, 22050, 12000);
  dir.write("tone.wav", pcm16_wav(22050, 1, tone));
  const command_result sent =
      zta("remote send --folder " + ctl() + " " + dir.file("tone.wav") + " --wait 60");
  EXPECT_EQ(exit_code(sent), 0) << sent.out;
  EXPECT_NE(sent.out.find(": started the sound file \"zta-"), std::string::npos) << sent.out;
  std::vector<std::uint8_t> tone_bytes(tone.size() * 2);
  for (std::size_t i = 0; i < tone.size(); ++i) store_le(tone_bytes.data() + 2 * i, tone[i]);
  for (int waited = 0; waited < 20000 && !contains(played(), tone_bytes); waited += 200)
    QTest::qWait(200);
  EXPECT_TRUE(contains(played(), tone_bytes));

  // The companion took every acknowledgement it read, the player every request and sound file.
  for (int waited = 0; waited < 20000 && ctl_names().size() > 1; waited += 200) QTest::qWait(200);
  EXPECT_EQ(ctl_names(), std::vector<std::string>{"annlist.dat"});
  player->terminate();
  EXPECT_TRUE(player->waitForFinished(20000));
}

TEST_F(RemoteCompanionTest, RequestWrittenSlowlyUnderItsTemporaryNameIsNeverReadHalf) {
  QProcess* player = start({"/service"});
  ASSERT_TRUE(listing_written());
  // Written as the companion writes it (beside its place, renamed at the end), one byte every
  // 100 ms: the player polls every 500 ms and takes short request files once a second old.
  const std::vector<std::uint8_t> request = encode_request(request_kind::by_name, "Closing");
  const std::string temp = ctl() + "/slow.ply.Ab12Cd";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  for (std::size_t i = 0; i < request.size(); ++i) {
    std::fputc(request[i], f);
    std::fflush(f);
    QTest::qWait(i == 4 ? 12000 : 100);  // past the player's first poll, half written
    ASSERT_TRUE(fs::exists(temp)) << "the player took a request half written at byte " << i;
    ASSERT_FALSE(fs::exists(ctl() + "/slow.ack")) << "answered at byte " << i;
  }
  std::fclose(f);
  ASSERT_EQ(std::rename(temp.c_str(), (ctl() + "/slow.ply").c_str()), 0);
  std::vector<std::uint8_t> ack;
  for (int waited = 0; waited < 30000 && !read_whole_file(ctl() + "/slow.ack", ack); waited += 100)
    QTest::qWait(100);
  const std::string text(ack.begin(), ack.end());
  EXPECT_NE(text.find("\nresult: played\ndetail: started \"Closing\"\n"), std::string::npos)
      << text;
  player->terminate();
  EXPECT_TRUE(player->waitForFinished(20000));
}

// A datagram socket standing for the service manager's notify socket.
class fake_notify_socket {
 public:
  explicit fake_notify_socket(const std::string& path) {
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::snprintf(a.sun_path, sizeof a.sun_path, "%s", path.c_str());
    bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  }
  ~fake_notify_socket() { ::close(fd_); }
  fake_notify_socket(const fake_notify_socket&) = delete;
  fake_notify_socket& operator=(const fake_notify_socket&) = delete;
  bool bound() const { return bound_; }
  // The next datagram within `ms` (empty when none came).
  std::string next(int ms) {
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    char buf[256];
    const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
  }

 private:
  int fd_ = -1;
  bool bound_ = false;
};

TEST_F(ProcessTest, HeadlessPlayerTellsTheManagerItIsReadyThenPingsTheWatchdog) {
  fake_notify_socket manager(dir.file("notify"));
  ASSERT_TRUE(manager.bound());
  env.insert("NOTIFY_SOCKET", QString::fromStdString(dir.file("notify")));
  env.insert("WATCHDOG_USEC", "30000000");
  QProcess* service = start({"/service"});
  ASSERT_TRUE(service->waitForStarted(10000));
  EXPECT_EQ(manager.next(30000), "READY=1");
  // The first schedule tick comes five seconds after the set-up.
  EXPECT_EQ(manager.next(30000), "WATCHDOG=1");
  service->terminate();
  EXPECT_TRUE(service->waitForFinished(20000));
  EXPECT_EQ(service->exitCode(), 0);
}

TEST_F(ProcessTest, ServiceThatHandsOverToTheRunningCopyEndsCleanlyForTheManager) {
  QProcess* desktop = start({"/open"});
  ASSERT_TRUE(listening());
  fake_notify_socket manager(dir.file("notify"));
  ASSERT_TRUE(manager.bound());
  env.insert("NOTIFY_SOCKET", QString::fromStdString(dir.file("notify")));
  env.insert("WATCHDOG_USEC", "30000000");
  // Ending before "READY=1" would count as a failure, and the manager would start it again.
  EXPECT_EQ(run_to_end({"/service"}), 0);
  EXPECT_EQ(manager.next(5000), "READY=1");
  EXPECT_EQ(manager.next(5000), "STOPPING=1");
  EXPECT_FALSE(desktop->waitForFinished(300));
}

}  // namespace
}  // namespace zta::test
