// zta import: WAV files in, announcements with playable clips and a saved settings file out.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "announcements/settings_store.hpp"
#include "tests/audio/wav_builder.hpp"
#include "tests/common/temp_folder.hpp"
#include "tests/tools/run_command.hpp"

namespace zta {
namespace {

using test::temp_folder;

struct tool_run {
  int status;
  std::string out;
  std::string err;
};

tool_run import(const temp_folder& dir, const std::string& files) {
  const std::string err = dir.file("stderr.txt");
  const std::string cmd = "cd " + dir.path() + " && " + ZTA_TOOL + " import --data " + dir.path() +
                          " " + files + " 2>" + err;
  const test::command_result c = test::run_command(cmd);
  tool_run r{c.status, c.out, {}};
  const auto e = dir.read("stderr.txt");
  r.err.assign(e.begin(), e.end());
  return r;
}

TEST(ZtaImport, MakesClipsAndSavesTheList) {
  temp_folder dir;
  std::vector<std::int16_t> stereo;
  for (auto v : test::sine(44100, 500, 44100, 15000)) stereo.push_back(v), stereo.push_back(v);
  dir.write("Store Closing.wav", test::pcm16_wav(44100, 2, stereo));
  std::vector<std::int16_t> loud(22050);
  for (std::size_t i = 0; i < loud.size(); ++i) loud[i] = (i / 8) % 2 ? 32767 : -32768;
  dir.write("loud.wav", test::pcm16_wav(22050, 1, loud));
  dir.write("junk.wav", std::string("not a wave"));

  const tool_run r = import(dir, "'" + dir.file("Store Closing.wav") + "' " + dir.file("loud.wav") +
                                     " " + dir.file("junk.wav"));
  EXPECT_NE(r.status, 0);  // one file failed
  EXPECT_NE(r.out.find("Store Closing.wav: announcement 0, clip 0, "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("loud.wav: announcement 1, clip 1, "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("junk.wav: failed: not a WAV file"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("loud.wav: warn: level very high"), std::string::npos) << r.err;

  station st(dir.path());
  load_settings(st);
  ASSERT_EQ(st.content.list.count(), 3);
  EXPECT_EQ(st.content.list[0].name_text(), "Store Closing");
  EXPECT_EQ(st.content.list[0].clip, 0);
  // One second of tone at 22050 Hz, trimmed to whole blocks around it.
  EXPECT_NEAR(st.content.list[0].id_serial, 22050, 1100);
  EXPECT_GE(dir.read("afl000.aud").size(),
            2u * static_cast<std::size_t>(st.content.list[0].id_serial));
  EXPECT_EQ(st.content.list[2].clip, -1);
  EXPECT_TRUE(dir.exists("afl001.aud"));
  for (const auto& n : dir.names()) EXPECT_NE(n.rfind("rec", 0), 0u) << n;  // no temporary left
}

}  // namespace
}  // namespace zta
