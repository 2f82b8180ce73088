// Two real processes of the built program in a private session.
#include <sys/stat.h>

#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>
#include <filesystem>
#include <functional>

#include "announcements/missed_log.hpp"
#include "announcements/play_log.hpp"
#include "announcements/remote_folder.hpp"
#include "announcements/settings_store.hpp"
#include "app/single_instance.hpp"
#include "install/setup_writer.hpp"
#include "platform/sim/system_wall_clock.hpp"
#include "tests/app/app_test_env.hpp"
#include "tests/app/package_fixture.hpp"
#include "tests/app/player_process.hpp"
#include "tests/audio/wav_builder.hpp"
#include "tests/common/announcement_maker.hpp"

namespace zta::test {
namespace {

namespace fs = std::filesystem;

// The station of several tests here: one manual announcement "Store opening" on clip 0, which
// holds `clip_bytes` of sound, and no chimes; the caller adds to it and writes it.
station store_opening(const temp_folder& dir, std::int32_t now, std::size_t clip_bytes) {
  station st(dir.path(), now);
  st.settings.chimes = 0;
  ann_blk a = always_current("Store opening", 0);
  a.manual = 1;
  st.content.list.push_back(a);
  dir.write("afl000.aud", std::vector<std::uint8_t>(clip_bytes, 0x11));
  return st;
}

TEST_F(ProcessTest, SecondCopyHandsOverAFileNameAndOpen) {
  dir.write("shop.vrx", one_announcement_package("Shop Opening"));
  QProcess* first = start({"/open"});
  ASSERT_TRUE(listening());
  EXPECT_EQ(run_to_end({QString::fromStdString(dir.file("shop.vrx"))}), 0);
  // The first copy loads it and writes the settings file once idle.
  std::vector<std::string> names;
  for (int waited = 0; waited < 30000 && names.empty(); waited += 200) {
    QTest::qWait(200);
    names = saved_names();
  }
  EXPECT_EQ(names, std::vector<std::string>{"Shop Opening"});
  EXPECT_EQ(run_to_end({"/open"}), 0);
  EXPECT_FALSE(first->waitForFinished(500));
  // SIGTERM ends it in order.
  first->terminate();
  ASSERT_TRUE(first->waitForFinished(20000));
  EXPECT_EQ(first->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(first->exitCode(), 0);
  EXPECT_FALSE(listening(300));
}

// The idle save writes whenever the loop waits, except while a job fills a clip; a change made
// then is written only on the way out. Here: an import's level warning waits for an answer (its
// new clip held), a remote request plays meanwhile and finds the card under a new number.
TEST_F(ProcessTest, TerminationSavesAChangeMadeWhileAJobHeldItsClip) {
  temp_folder shared;  // the remote control folder, outside the data folder
  system_wall_clock wall;
  station st = store_opening(dir, wall.local_now(), 4410);
  set_field_text(st.settings.control_folder, shared.root().string());
  dir.write("vrxpa.dat", encode_settings_file(st));
  std::vector<std::int16_t> loud(44100);
  for (std::size_t i = 0; i < loud.size(); ++i) loud[i] = (i / 4) % 2 ? 32767 : -32768;
  dir.write("Loud.wav", pcm16_wav(22050, 1, loud));
  const auto saved = [this] {
    std::vector<std::uint8_t> bytes;
    station s(dir.path());
    if (read_whole_file(dir.file("vrxpa.dat"), bytes)) decode_settings_file(bytes, s);
    return s;
  };
  const auto wait_until = [](const std::function<bool()>& done) {
    for (int waited = 0; waited < 30000 && !done(); waited += 100) QTest::qWait(100);
    return done();
  };

  QProcess* player = start({"/open"});
  ASSERT_TRUE(listening());
  ASSERT_EQ(run_to_end({QString::fromStdString(dir.file("Loud.wav"))}), 0);
  // The processing has taken clip 1: its "Record Level Warning" is up, and nobody answers it.
  ASSERT_TRUE(wait_until([this] { return dir.exists("afl001.aud"); }));
  dir.write("played/cards.txt", std::string("HDMI\nSimulated output\n"));
  shared.write("req.tmp", encode_request(request_kind::by_name, "Store opening"));
  fs::rename(shared.file("req.tmp"), shared.file("req.ply"));
  const std::string missed = dir.file(missed_file_name(wall.local_now()));
  ASSERT_TRUE(wait_until([&missed] {
    std::vector<std::uint8_t> bytes;
    read_whole_file(missed, bytes);
    return std::string(bytes.begin(), bytes.end()).find("found again as number 1 (was 0)") !=
           std::string::npos;
  })) << "the request did not play while the warning was open";
  EXPECT_EQ(saved().settings.sound_out_device, 0) << "saved while the job held its clip";

  player->terminate();
  ASSERT_TRUE(player->waitForFinished(20000));
  EXPECT_EQ(player->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(player->exitCode(), 0);
  const station after = saved();
  EXPECT_EQ(after.settings.sound_out_device, 1);
  ASSERT_EQ(after.content.list.count(), 2);
  EXPECT_EQ(after.content.list[1].name_text(), "Loud");
  EXPECT_EQ(after.content.list[1].clip, -1) << "the cut import keeps its name, not a clip";
  EXPECT_FALSE(dir.exists("afl001.aud"));
  for (const auto& e : fs::directory_iterator(dir.root()))
    EXPECT_NE(e.path().filename().string().rfind("rec", 0), 0u) << e.path();
}

TEST_F(ProcessTest, DesktopCopyTakesOverFromTheHeadlessOne) {
  QProcess* service = start({"/service"});
  ASSERT_TRUE(listening());
  QProcess* desktop = start({"/open"});
  ASSERT_TRUE(desktop->waitForStarted(10000));
  ASSERT_TRUE(service->waitForFinished(30000));
  EXPECT_EQ(service->exitCode(), 0);
  ASSERT_TRUE(listening());
  EXPECT_FALSE(desktop->waitForFinished(500));
  // The new player is the desktop one: a third copy hands over to it and ends.
  EXPECT_EQ(run_to_end({"/open"}), 0);
  EXPECT_FALSE(desktop->waitForFinished(500));
}

TEST_F(ProcessTest, FixedTimeAnnouncementPlaysByItselfIntoTheDeviceAndTheLog) {
  // One announcement due ten seconds after start: a program start slowed by a busy machine must
  // not begin past it (a fixed time that passed before the start is not played).
  system_wall_clock wall;
  const std::int32_t started_at = wall.local_now();
  station st = store_opening(dir, started_at, 22050 * 2);
  st.content.list[0].fixed_times = {(started_at + 10) % seconds_per_day};
  dir.write("vrxpa.dat", encode_settings_file(st));
  QProcess* player = start({"/open"});
  const std::string log = dir.file(log_file_name(started_at));
  std::string text;
  for (int waited = 0; waited < 60000 && text.find("Store opening") == std::string::npos;
       waited += 200) {
    QTest::qWait(200);
    std::vector<std::uint8_t> bytes;
    if (read_whole_file(log, bytes)) text.assign(bytes.begin(), bytes.end());
  }
  EXPECT_NE(text.find("Store opening\r\n"), std::string::npos) << text;
  std::uintmax_t wav = 0;
  for (int waited = 0; waited < 30000 && wav < 44 + 22050 * 2; waited += 200) {
    QTest::qWait(200);
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(dir.file("played/wave_out-1ch.wav"), ec);
    wav = ec ? 0 : size;  // a missing file reads as -1
  }
  EXPECT_GE(wav, 44u + 22050 * 2);
  player->terminate();
  EXPECT_TRUE(player->waitForFinished(20000));
}

TEST_F(ProcessTest, QuitClosesTheWindowedAndTheHeadlessCopyWithoutAsking) {
  EXPECT_FALSE(close_running_copy(server_name, 500));  // nobody runs
  for (const char* mode : {"/open", "/service"}) {
    QProcess* p = start({mode});
    ASSERT_TRUE(listening()) << mode;
    EXPECT_TRUE(close_running_copy(server_name, 20000)) << mode;
    // It has stopped listening by the time the call returns, and ends in order.
    EXPECT_FALSE(listening(300)) << mode;
    ASSERT_TRUE(p->state() == QProcess::NotRunning || p->waitForFinished(20000)) << mode;
    EXPECT_EQ(p->exitStatus(), QProcess::NormalExit) << mode;
    EXPECT_EQ(p->exitCode(), 0) << mode;
  }
}

TEST_F(ProcessTest, SetupFileClosesThePlayerInstallsAndStartsTheInstalledCopy) {
  // The setup file from the built program, the manual, three chimes and a package.
  fs::create_directories(dir.file("dist"));
  dir.write("chimes1.aud", std::vector<std::uint8_t>(3000, 1));
  dir.write("chimes2.aud", std::vector<std::uint8_t>(4000, 2));
  dir.write("chimes3.aud", std::vector<std::uint8_t>(5000, 3));
  dir.write("test.ann", one_announcement_package("Shop Opening"));
  std::string error;
  ASSERT_TRUE(
      write_setup_file({ZTA_VRXPAR,
                        ZTA_SOURCE_DIR "/docs/manual.html",
                        {dir.file("chimes1.aud"), dir.file("chimes2.aud"), dir.file("chimes3.aud")},
                        dir.file("test.ann")},
                       dir.file("dist/SETUP"), error))
      << error;
  QProcess* running = start({"/open"});
  ASSERT_TRUE(listening());

  QProcess setup;
  setup.setProcessEnvironment(env);
  setup.setWorkingDirectory(QString::fromStdString(dir.file("dist")));
  setup.setProcessChannelMode(QProcess::ForwardedChannels);
  setup.start(QString::fromStdString(dir.file("dist/SETUP")), {});
  ASSERT_TRUE(setup.waitForFinished(60000));
  EXPECT_EQ(setup.exitCode(), 0);
  // The running player was closed first, without asking.
  ASSERT_TRUE(running->state() == QProcess::NotRunning || running->waitForFinished(20000));
  EXPECT_EQ(running->exitCode(), 0);

  const std::string folder = dir.file("share/VRX Tolvane/ZTA/");
  std::vector<std::uint8_t> program, installed;
  ASSERT_TRUE(read_whole_file(ZTA_VRXPAR, program));
  ASSERT_TRUE(read_whole_file(folder + "vrxpar", installed));
  EXPECT_TRUE(installed == program);
  ASSERT_TRUE(read_whole_file(folder + "uninst", installed));
  EXPECT_TRUE(installed == program);
  for (const char* name : {"manual.html", "chimes1.aud", "chimes2.aud", "chimes3.aud", "test.ann"})
    EXPECT_TRUE(file_exists(folder + name)) << name;
  EXPECT_TRUE(file_exists(dir.file("config/autostart/ZTAAnnLogon.desktop")));
  EXPECT_TRUE(file_exists(dir.file("home/Desktop/ZTA Announcement Player.desktop")));
  EXPECT_TRUE(file_exists(dir.file("share/applications/vrx-tolvane-zta.desktop")));

  // The installed copy runs with "/install": it loads the delivered package and saves it.
  ASSERT_TRUE(listening());
  std::vector<std::string> names;
  station st(folder);
  for (int waited = 0; waited < 30000 && names.empty(); waited += 200) {
    QTest::qWait(200);
    std::vector<std::uint8_t> bytes;
    if (!read_whole_file(folder + "vrxpa.dat", bytes)) continue;
    st = station(folder);
    decode_settings_file(bytes, st);
    names.clear();
    for (const ann_blk& a : st.content.list) names.emplace_back(a.name_text());
  }
  EXPECT_EQ(names, std::vector<std::string>{"Shop Opening"});
  // Started from dist/: the file method points there.
  EXPECT_EQ(st.load_opts.method, load_method::file);
  EXPECT_EQ(std::string(st.load_opts.file_path.data()), dir.file("dist/"));
  EXPECT_TRUE(close_running_copy(server_name, 20000));
  EXPECT_FALSE(listening(300));
}

}  // namespace
}  // namespace zta::test

#include <unistd.h>
#include <QLocalServer>

#include "app/single_instance.hpp"

namespace zta::test {
namespace {

TEST(ClaimInstance, SilentCopyHoldingTheNameMeansNoSecondPlayer) {
  const QString name = QStringLiteral("zta-claim-test.%1").arg(::getpid());
  QLocalServer silent;  // listens, never answers
  silent.setSocketOptions(QLocalServer::AbstractNamespaceOption);
  ASSERT_TRUE(silent.listen(name));
  instance_server server(true);
  EXPECT_EQ(claim_instance(server, name, std::string("x.vrx"), true, 2, 200),
            claim_result::name_taken);
  EXPECT_FALSE(server.is_listening());
  silent.close();
  EXPECT_EQ(claim_instance(server, name, std::string("x.vrx"), true, 2, 200), claim_result::player);
  EXPECT_TRUE(server.is_listening());
}

TEST_F(ProcessTest, CopyThatCannotReachTheRunningOneEndsWithAMessage) {
  QLocalServer silent;  // a copy that holds the name but hangs
  silent.setSocketOptions(QLocalServer::AbstractNamespaceOption);
  ASSERT_TRUE(silent.listen(server_name));
  QProcess p;
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(QString::fromStdString(dir.path()));
  p.start(QString::fromStdString(dir.file("vrxpar")), {"/service"});
  const bool ended = p.waitForFinished(60000);
  if (!ended) p.kill();
  ASSERT_TRUE(ended) << "a second player runs beside the first";
  EXPECT_NE(p.exitCode(), 0);
  EXPECT_TRUE(p.readAllStandardError().contains("does not answer")) << "no reason given";
  EXPECT_FALSE(dir.exists("vrxpa.dat"));
}

TEST_F(ProcessTest, DataFolderIsBesideTheProgramNotBesideALinkToIt) {
  fs::create_directories(dir.file("bin"));
  fs::create_symlink(dir.file("vrxpar"), dir.file("bin/vrxpar"));
  // Started by the link, from another folder, with a file name relative to that folder.
  fs::create_directories(dir.file("downloads"));
  dir.write("downloads/shop.vrx", one_announcement_package("Shop Opening"));
  auto linked = std::make_unique<QProcess>();
  linked->setProcessEnvironment(env);
  linked->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  linked->setWorkingDirectory(QString::fromStdString(dir.file("downloads")));
  linked->start(QString::fromStdString(dir.file("bin/vrxpar")), {"shop.vrx"});
  std::vector<std::string> names;
  for (int waited = 0; waited < 30000 && names.empty(); waited += 200) {
    QTest::qWait(200);
    names = saved_names();
  }
  EXPECT_EQ(names, std::vector<std::string>{"Shop Opening"})
      << "the relative file loaded, and the settings went beside the real program";
  EXPECT_FALSE(fs::exists(dir.file("bin/vrxpa.dat")));
  linked->terminate();
  EXPECT_TRUE(linked->waitForFinished(20000));
}

}  // namespace
}  // namespace zta::test

namespace zta::test {
namespace {

// ZTA_AUDIO unset and an ALSA that has no device: the simulated device in the data folder's
// "played" subfolder stands in (made when missing), and the program says so.
TEST_F(ProcessTest, WithoutASoundCardTheSimulatedDevicePlaysIntoThePlayedFolder) {
  fs::remove_all(dir.file("played"));
  dir.write("empty-alsa.conf", std::string());
  env.remove("ZTA_AUDIO");
  env.insert("ALSA_CONFIG_PATH", QString::fromStdString(dir.file("empty-alsa.conf")));
  system_wall_clock wall;
  const std::int32_t started_at = wall.local_now();
  station st = store_opening(dir, started_at, 22050 * 2);
  st.content.list[0].fixed_times = {(started_at + 3) % seconds_per_day};
  dir.write("vrxpa.dat", encode_settings_file(st));
  QProcess p;
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(QString::fromStdString(dir.path()));
  p.start(QString::fromStdString(dir.file("vrxpar")), {"/service"});
  std::uintmax_t wav = 0;
  for (int waited = 0; waited < 30000 && wav < 44 + 22050 * 2; waited += 200) {
    QTest::qWait(200);
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(dir.file("played/wave_out-1ch.wav"), ec);
    wav = ec ? 0 : size;  // a missing file reads as -1
  }
  EXPECT_GE(wav, 44u + 22050 * 2);
  p.terminate();
  EXPECT_TRUE(p.waitForFinished(20000));
  const std::string err = p.readAllStandardError().toStdString();
  EXPECT_NE(err.find("vrxpar: no sound card (ALSA: cannot open \"default\" for playback: "),
            std::string::npos)
      << err;
  EXPECT_NE(err.find("writes them to " + dir.file("played/wave_out-1ch.wav")), std::string::npos)
      << err;
}

}  // namespace
}  // namespace zta::test
