// Platform calls that fail say why: the backend's name, what it was doing and the library's
// reason, kept for last_error() and logged once per new reason.
#include <alsa/asoundlib.h>
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "base/error_note.hpp"
#include "platform/alsa/alsa_aux_mixer.hpp"
#include "platform/alsa/alsa_wave_in.hpp"
#include "platform/alsa/alsa_wave_out.hpp"
#include "platform/curl/curl_ftp_client.hpp"
#include "platform/qt/qt_loop_watch.hpp"
#include "tests/platform/ftp_server.hpp"

namespace zta {
namespace {

using test::temp_folder;

std::string contents(std::FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string out;
  for (int c = std::fgetc(f); c != EOF; c = std::fgetc(f)) out += static_cast<char>(c);
  return out;
}

TEST(ErrorNote, LogsEachNewReasonOnceAndForgetsItOnSuccess) {
  std::FILE* log = std::tmpfile();
  ASSERT_NE(log, nullptr);
  error_note note("ALSA", log);
  EXPECT_EQ(note.text(), "");
  note.fail("cannot open \"x\" for playback: No such file or directory");
  note.fail("cannot open \"x\" for playback: No such file or directory");
  EXPECT_EQ(note.text(), "ALSA: cannot open \"x\" for playback: No such file or directory");
  note.fail("other");
  note.clear();
  EXPECT_EQ(note.text(), "");
  note.fail("other");
  const std::string logged = contents(log);
  std::fclose(log);
  const std::string line = ": ALSA: cannot open \"x\" for playback: No such file or directory\n";
  EXPECT_EQ(logged.find(line), logged.rfind(line)) << logged;  // once, not twice
  EXPECT_NE(logged.find(line), std::string::npos) << logged;
  // Twice: a success lies between the two.
  EXPECT_NE(logged.find(": ALSA: other\n"), logged.rfind(": ALSA: other\n")) << logged;
}

// ALSA with a configuration that defines no device at all.
class AlsaErrors : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(dir.file("empty.conf")) << "";
    setenv("ALSA_CONFIG_PATH", dir.file("empty.conf").c_str(), 1);
    snd_config_update_free_global();
  }
  void TearDown() override {
    unsetenv("ALSA_CONFIG_PATH");
    snd_config_update_free_global();
  }

  struct ignoring : wave_out_listener, wave_in_listener {
    void buffer_done(wave_header&) override {}
    void buffer_filled(wave_in_header&) override {}
  } listener;
  temp_folder dir;
  int argc = 1;
  char arg0[8] = "test";
  char* argv[1] = {arg0};
  QCoreApplication app{argc, argv};
};

TEST_F(AlsaErrors, AFailedOpenSaysWhichDeviceAndWhy) {
  alsa_wave_out out(std::make_shared<qt_loop_watch>(),
                    std::vector<alsa_device>{{"Missing", "nosuchpcm"}});
  EXPECT_EQ(out.last_error(), "");
  EXPECT_FALSE(out.open(0, wave_format{}, listener));
  const std::string reason = snd_strerror(-ENOENT);
  EXPECT_EQ(out.last_error(), "ALSA: cannot open \"nosuchpcm\" for playback: " + reason);
  EXPECT_FALSE(out.open(3, wave_format{}, listener));
  EXPECT_EQ(out.last_error(), "ALSA: there is no playback device 3 (1 devices)");
  wave_header h;
  EXPECT_FALSE(out.write(h));
  EXPECT_EQ(out.last_error(), "ALSA: the playback device is not open");

  alsa_wave_in in(std::make_shared<qt_loop_watch>(),
                  std::vector<alsa_device>{{"Missing", "nosuchpcm"}});
  EXPECT_FALSE(in.open(0, wave_format{}, listener));
  EXPECT_EQ(in.last_error(), "ALSA: cannot open \"nosuchpcm\" for capture: " + reason);
  EXPECT_FALSE(in.start());
  EXPECT_EQ(in.last_error(), "ALSA: the record device is not open");

  std::string why;
  EXPECT_FALSE(alsa_default_playback_opens(why));
  EXPECT_EQ(why, "cannot open \"default\" for playback: " + reason);
}

TEST_F(AlsaErrors, AMixerLineThatCannotBeSetSaysWhy) {
  alsa_aux_mixer mixer(std::vector<alsa_mixer_line>{{"nosuchctl", "Line", 0, "Gone: Line"}});
  EXPECT_FALSE(mixer.set_volume(0, 0x80008000));
  EXPECT_EQ(mixer.last_error().rfind("ALSA mixer: Gone: Line: cannot attach the control device "
                                     "\"nosuchctl\": ",
                                     0),
            0u)
      << mixer.last_error();
  EXPECT_FALSE(mixer.set_volume(1, 0));
  EXPECT_EQ(mixer.last_error(), "ALSA mixer: there is no mixer line 1 (1 lines)");
}

TEST(FtpErrors, AFailedRequestSaysWhatAndWhy) {
  temp_folder local;
  curl_ftp_client client({.lookup_seconds = 20, .download_seconds = 20});
  const std::string down = "127.0.0.1:" + std::to_string(test::free_port());
  std::int32_t stamp = 0;
  EXPECT_EQ(client.remote_stamp(down, "pa1.vrx", stamp), ftp_lookup::failed);
  const std::string refused =
      "FTP: ftp://" + down + "/pa1.vrx: " + curl_easy_strerror(CURLE_COULDNT_CONNECT);
  EXPECT_EQ(client.last_error().rfind(refused, 0), 0u) << client.last_error();
  EXPECT_NE(client.last_error().find("(Failed to connect to 127.0.0.1 port "), std::string::npos)
      << client.last_error();
  EXPECT_FALSE(client.download(down, "pa1.vrx", local.file("pa1.vrx"), {}));
  EXPECT_EQ(client.last_error().rfind(refused, 0), 0u) << client.last_error();

  test::ftp_server server;
  ASSERT_TRUE(server.running());
  server.put("pa2.vrx", "package", 1709814896);
  // The local side: a folder that is a regular file.
  local.write("file", std::string("x"));
  EXPECT_FALSE(client.download(server.address(), "pa2.vrx", local.file("file/pa2.vrx"), {}));
  EXPECT_EQ(client.last_error(),
            "FTP: " + local.file("file/pa2.vrx") + ".part: " + std::strerror(ENOTDIR));
  // A success leaves nothing to tell.
  EXPECT_TRUE(client.download(server.address(), "pa2.vrx", local.file("pa2.vrx"), {}));
  EXPECT_EQ(client.last_error(), "");
  EXPECT_EQ(client.remote_stamp(server.address(), "absent.vrx", stamp), ftp_lookup::missing);
  EXPECT_EQ(client.last_error(), "");
}

}  // namespace
}  // namespace zta
