// zta preview, run as a program over a small data folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "announcements/clip_files.hpp"
#include "announcements/settings_store.hpp"
#include "tests/common/announcement_maker.hpp"
#include "tests/common/busy_schedule.hpp"
#include "tests/common/temp_folder.hpp"
#include "tests/common/tick_day.hpp"

namespace zta {
namespace {

namespace fs = std::filesystem;
using test::day0;

std::string run(const std::string& command, int* status = nullptr) {
  std::string out;
  std::FILE* p = ::popen(command.c_str(), "r");
  if (p == nullptr) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int rc = ::pclose(p);
  if (status != nullptr) *status = rc;
  return out;
}

class PreviewTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = folder.root();
    st = station(dir.string(), day0);
    st.settings.sound_out_device = 0;
    st.settings.chimes = 0;
    st.settings.sequence_interval = 1;
  }
  void add(const char* name, std::vector<std::int32_t> fixed, std::int16_t autoplay,
           std::size_t samples) {
    ann_blk a = zta::test::always_current(name, st.content.list.count());
    a.autoplay = autoplay;
    a.fixed_times = std::move(fixed);
    std::ofstream(clip_path(st, a.clip), std::ios::binary) << std::string(samples * 2, '\1');
    st.content.list.push_back(a);
  }
  void save() {
    auto bytes = encode_settings_file(st);
    std::ofstream(dir / "vrxpa.dat", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  std::string preview(const std::string& from, const std::string& to, int* status = nullptr) {
    return run(std::string(ZTA_TOOL) + " preview --data '" + dir.string() + "' --from '" + from +
                   "' --to '" + to + "' 2>&1",
               status);
  }

  zta::test::temp_folder folder;  // removed with everything in it
  fs::path dir;
  station st;
};

TEST_F(PreviewTool, PrintsStartsAndEndsInTimeOrder) {
  add("Opening", {9 * 3600}, 0, 22050);  // 1 s: nine blocks
  add("Twin", {9 * 3600}, 0, 220500);    // 10 s: 27 blocks, after Opening
  add("Seq", {}, -1, 22050);
  save();
  int status = -1;
  std::string out = preview("2023-11-14 08:59:50", "2023-11-14 09:01:00", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out,
            "2023-11-14 09:00:00.000 start scheduled 0 Opening\n"
            "2023-11-14 09:00:03.343 end 0 Opening\n"
            "2023-11-14 09:00:03.500 start scheduled 1 Twin\n"
            "2023-11-14 09:00:13.531 end 1 Twin\n"
            "2023-11-14 09:00:50.000 start sequence 2 Seq\n"
            "2023-11-14 09:00:53.343 end 2 Seq\n");
}

TEST_F(PreviewTool, ADayChangesNothingInTheDataFolder) {
  add("Hourly", {}, 60, 22050);
  add("Seq", {}, -1, 44100);
  st.settings.control_folder[0] = '.';  // a control folder is never touched by a preview
  save();
  std::ofstream(dir / "stray.ply") << "x";
  auto before = fs::last_write_time(dir / "vrxpa.dat");
  std::string out = preview("2023-11-14 00:00:00", "2023-11-15 00:00:00");
  std::size_t hourly = 0, lines = 0;
  for (std::size_t p = 0; (p = out.find('\n', p)) != std::string::npos; ++p) ++lines;
  for (std::size_t p = 0; (p = out.find("start scheduled 0 Hourly", p)) != std::string::npos; ++p)
    ++hourly;
  // 01:00 .. 23:00 and the closing midnight; the opening midnight is the set-up moment itself,
  // the open lower end of the first window.
  EXPECT_EQ(hourly, 24u);
  EXPECT_GT(lines, 1000u);
  EXPECT_TRUE(fs::exists(dir / "stray.ply"));
  EXPECT_EQ(fs::last_write_time(dir / "vrxpa.dat"), before);
  int files = 0;
  for ([[maybe_unused]] auto& e : fs::directory_iterator(dir)) ++files;
  EXPECT_EQ(files, 4);  // settings, two clips, the stray request: no log was written
}

TEST_F(PreviewTool, BadArgumentsAreReported) {
  save();
  int status = 0;
  std::string out = preview("2023-11-14 25:00:00", "2023-11-15 00:00:00", &status);
  EXPECT_NE(status, 0);
  EXPECT_NE(out.find("YYYY-MM-DD HH:MM:SS"), std::string::npos);
  out = preview("2023-11-15 00:00:00", "2023-11-14 00:00:00", &status);
  EXPECT_NE(status, 0);
  EXPECT_NE(out.find("before"), std::string::npos);
}

// A busy day of 127 announcements, pinned as a hash of the whole output: how the preview formats
// its lines and counts its clips must never change what it prints.
TEST_F(PreviewTool, BusyDayOutputIsUnchanged) {
  zta::test::write_busy_schedule(dir.string(), day0);
  int status = -1;
  const std::string out = preview("2023-11-14 00:00:00", "2023-11-15 00:00:00", &status);
  EXPECT_EQ(status, 0);
  std::uint64_t h = 0xcbf29ce484222325u;
  std::size_t lines = 0;
  for (unsigned char c : out) {
    h = (h ^ c) * 0x100000001b3u;
    if (c == '\n') ++lines;
  }
  EXPECT_EQ(lines, 2849u);
  EXPECT_EQ(out.size(), 151178u);
  EXPECT_EQ(h, 0x61b817c010da83f2u);
}

}  // namespace
}  // namespace zta
