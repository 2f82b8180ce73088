// zta pack, unpack and inspect end to end: what the encoder reconstructs is what a load gives.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "announcements/settings_store.hpp"
#include "loading/package_writer.hpp"
#include "tests/common/temp_folder.hpp"
#include "tests/tools/run_command.hpp"

namespace zta {
namespace {

using test::temp_folder;

struct result {
  int status;
  std::string out;  // stdout and stderr
};

result zta(const std::string& args) {
  const std::string cmd = std::string(ZTA_TOOL) + " " + args + " 2>&1";
  const test::command_result c = test::run_command(cmd);
  return {c.status, c.out};
}

std::vector<std::int16_t> sound(std::size_t n, double f) {
  std::vector<std::int16_t> s(n);
  for (std::size_t i = 0; i < n; ++i) {
    double env = i % 5000 < 4000 ? 1.0 : 0.0;
    s[i] = static_cast<std::int16_t>(std::sin(static_cast<double>(i) * f) * 14000 * env +
                                     std::sin(static_cast<double>(i) * 0.9) * 800);
  }
  return s;
}

void write_raw(const temp_folder& dir, const std::string& name,
               const std::vector<std::int16_t>& s) {
  std::vector<std::uint8_t> b;
  for (std::int16_t v : s) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(static_cast<std::uint16_t>(v) >> 8));
  }
  dir.write(name, b);
}

std::vector<std::int16_t> clip(const temp_folder& dir, int n) {
  char name[16];
  std::snprintf(name, sizeof name, "afl%.3d.aud", n);
  auto b = dir.read(name);
  std::vector<std::int16_t> s(b.size() / 2);
  for (std::size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<std::int16_t>(b[2 * i] | (b[2 * i + 1] << 8));
  return s;
}

// Two sounds, one in each precision, written as raw clips next to the description.
struct packed {
  temp_folder src;
  std::vector<std::int16_t> a = sound(30000, 0.03);
  std::vector<std::int16_t> b = sound(9001, 0.07);
  packed() {
    write_raw(src, "a.raw", a);
    write_raw(src, "b.raw", b);
    src.write("spec.json", std::string(R"({"version": 1, "addressee": 42,
      "announcements": [
        {"name": "Alpha", "id_stamp": 501, "sound": "a.raw", "fixed_times": [3600]},
        {"name": "Beta", "id_stamp": 502, "sound": "b.raw", "precision": 8, "manual": false}
      ]})"));
  }
};

std::vector<int> clips_by_stamp(const temp_folder& data) {
  station st(data.path(), 0);
  load_settings(st);
  std::vector<int> out;
  for (std::int32_t stamp : {501, 502}) {
    int c = -1;
    for (const ann_blk& r : st.content.list) {
      if (r.id_stamp == stamp) c = r.clip;
    }
    out.push_back(c);
  }
  return out;
}

TEST(ZtaPack, UnpackGivesTheEncodersReconstruction) {
  packed p;
  temp_folder data;
  const std::string vrx = p.src.file("p.vrx");
  ASSERT_EQ(zta("pack " + p.src.file("spec.json") + " --out " + vrx).status, 0);
  result inspect = zta("inspect " + vrx);
  EXPECT_EQ(inspect.status, 0) << inspect.out;
  EXPECT_NE(inspect.out.find("K -30000 (12-bit)"), std::string::npos) << inspect.out;
  EXPECT_NE(inspect.out.find("K 9001 (8-bit)"), std::string::npos) << inspect.out;
  result r = zta("unpack --data " + data.path() + " " + vrx);
  ASSERT_EQ(r.status, 0) << r.out;
  auto clips = clips_by_stamp(data);
  ASSERT_GE(clips[0], 0);
  ASSERT_GE(clips[1], 0);
  EXPECT_EQ(clip(data, clips[0]), encode_sound(p.a, true).reconstruction);
  EXPECT_EQ(clip(data, clips[1]), encode_sound(p.b, false).reconstruction);
}

TEST(ZtaPack, DiskSetLoadsInAnyOrderOfDisks) {
  packed p;
  const std::string set = p.src.file("set");
  result r = zta("pack " + p.src.file("spec.json") + " --out " + set + " --disk-size 12000");
  ASSERT_EQ(r.status, 0) << r.out;
  std::vector<std::string> disks;
  for (int d = 1; std::filesystem::exists(set + "/disk" + std::to_string(d)); ++d) {
    disks.push_back(set + "/disk" + std::to_string(d));
    for (const auto& e : std::filesystem::directory_iterator(disks.back())) {
      EXPECT_LE(std::filesystem::file_size(e.path()), 12000u) << "no piece is larger than a disk";
    }
  }
  ASSERT_GE(disks.size(), 3u);
  for (bool reversed : {false, true}) {
    temp_folder data;
    std::string order;
    for (std::size_t i = 0; i < disks.size(); ++i) {
      order += " --disk " + disks[reversed ? disks.size() - 1 - i : i];
    }
    result u = zta("unpack --data " + data.path() + order);
    ASSERT_EQ(u.status, 0) << u.out;
    auto clips = clips_by_stamp(data);
    ASSERT_GE(clips[0], 0) << u.out;
    ASSERT_GE(clips[1], 0) << u.out;
    EXPECT_EQ(clip(data, clips[0]), encode_sound(p.a, true).reconstruction);
    EXPECT_EQ(clip(data, clips[1]), encode_sound(p.b, false).reconstruction);
    EXPECT_FALSE(data.exists("a.tmp")) << "temporary pieces go at the end of the run";
  }
}

TEST(ZtaPack, ErrorsSayWhatIsWrongAndExitNonZero) {
  packed p;
  temp_folder data;
  p.src.write("bad.json", std::string(R"({"announcements": [{"name": "x", "id_stamp": "1"}]})"));
  result bad = zta("pack " + p.src.file("bad.json") + " --out " + p.src.file("x.vrx"));
  EXPECT_NE(bad.status, 0);
  EXPECT_NE(bad.out.find("id_stamp must be an integer"), std::string::npos) << bad.out;
  EXPECT_NE(zta("pack " + p.src.file("spec.json") + " --out x --precision 10").status, 0);

  const std::string vrx = p.src.file("p.vrx");
  ASSERT_EQ(zta("pack " + p.src.file("spec.json") + " --out " + vrx).status, 0);
  auto bytes = p.src.read("p.vrx");
  bytes[30] ^= 0xFF;  // inside the content: the checksum no longer matches
  p.src.write("p.vrx", bytes);
  result refused = zta("unpack --data " + data.path() + " " + vrx);
  EXPECT_NE(refused.status, 0);
  EXPECT_NE(refused.out.find("File Error: Corrupted File. Contact your supplier."),
            std::string::npos)
      << refused.out;
  EXPECT_FALSE(data.exists("vrxpa.dat")) << "nothing changed";
  EXPECT_NE(zta("unpack --data " + data.path() + " " + p.src.file("none.vrx")).status, 0);
}

}  // namespace
}  // namespace zta

#include <sys/wait.h>

namespace zta {
namespace {

TEST(ZtaUnpack, FileCutInsideASoundKeepsWhatLoadedSaysWhyAndExitsThree) {
  packed p;
  temp_folder data;
  const std::string vrx = p.src.file("p.vrx");
  ASSERT_EQ(zta("pack " + p.src.file("spec.json") + " --out " + vrx).status, 0);
  auto bytes = p.src.read("p.vrx");
  bytes.resize(bytes.size() - 100);
  p.src.write("p.vrx", bytes);
  result r = zta("unpack --data " + data.path() + " " + vrx);
  ASSERT_TRUE(WIFEXITED(r.status));
  EXPECT_EQ(WEXITSTATUS(r.status), 3) << r.out;
  EXPECT_NE(r.out.find("Some announcements could not be loaded. The file ends inside a sound."),
            std::string::npos)
      << r.out;
  auto clips = clips_by_stamp(data);
  EXPECT_GE(clips[0], 0) << "what came before the cut is kept and saved";
  EXPECT_EQ(clips[1], -1);
}

}  // namespace
}  // namespace zta

#include <algorithm>
#include <cstdlib>

#include "tests/audio/wav_builder.hpp"

namespace zta {
namespace {

int peak(const std::vector<std::int16_t>& s) {
  int p = 0;
  for (std::int16_t v : s) p = std::max(p, std::abs(static_cast<int>(v)));
  return p;
}

TEST(ZtaPack, WavSoundIsTheClipImportMakesOfItAtAnyRate) {
  temp_folder src, data, imported;
  for (std::uint32_t rate : {22050u, 44100u}) {
    // Half a second of a tone with a pause either side.
    std::vector<std::int16_t> s(rate / 10, 0);
    const auto t = test::sine(static_cast<int>(rate / 2), 700, rate, 12000);
    s.insert(s.end(), t.begin(), t.end());
    s.insert(s.end(), rate / 10, 0);
    src.write("tone" + std::to_string(rate) + ".wav", test::pcm16_wav(rate, 1, s));
  }
  src.write("spec.json", std::string(R"({"announcements": [
      {"name": "Low rate", "id_stamp": 601, "sound": "tone22050.wav"},
      {"name": "High rate", "id_stamp": 602, "sound": "tone44100.wav"}]})"));
  const std::string vrx = src.file("p.vrx");
  result packed = zta("pack " + src.file("spec.json") + " --out " + vrx);
  ASSERT_EQ(packed.status, 0) << packed.out;
  ASSERT_EQ(zta("unpack --data " + data.path() + " " + vrx).status, 0);
  result imports = zta("import --data " + imported.path() + " " + src.file("tone22050.wav") + " " +
                       src.file("tone44100.wav"));
  ASSERT_EQ(imports.status, 0) << imports.out;

  station st(data.path(), 0);
  load_settings(st);
  ASSERT_EQ(st.content.list.count(), 2);
  std::vector<std::vector<std::int16_t>> sounds;
  for (int i = 0; i < 2; ++i) {
    ASSERT_GE(st.content.list[i].clip, 0) << i;
    sounds.push_back(clip(data, st.content.list[i].clip));
    EXPECT_EQ(sounds.back(), encode_sound(clip(imported, i), true).reconstruction)
        << "announcement " << i << " is not what zta import makes of the same file";
  }
  // Alike whatever the source rate: the same level, the same length to a block.
  EXPECT_NEAR(peak(sounds[1]), peak(sounds[0]), peak(sounds[0]) / 8.0);
  EXPECT_NEAR(static_cast<double>(sounds[1].size()), static_cast<double>(sounds[0].size()), 1024);
}

}  // namespace
}  // namespace zta
