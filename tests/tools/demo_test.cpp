// scripts/make-demo.sh: the demo package loads into a data folder and shows every kind of
// schedule, a notice and the three chimes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "base/file_io.hpp"
#include "tests/common/temp_folder.hpp"
#include "tests/tools/run_command.hpp"

namespace zta {
namespace {

using test::run_command;

TEST(MakeDemo, PackageShowsEveryScheduleKindAndLoads) {
  test::temp_folder dir;
  const std::string tool = ZTA_TOOL;
  const auto made = run_command(
      "ZTA=" + tool + " ZTA_DEMO_FIXED_TIME=37800 " ZTA_SOURCE_DIR "/scripts/make-demo.sh " +
      dir.path() + " 2>&1");
  ASSERT_EQ(made.status, 0) << made.out;
  for (const char* name : {"chimes1.aud", "chimes2.aud", "chimes3.aud", "test.ann"}) {
    EXPECT_TRUE(file_exists(dir.file(name))) << name;
  }
  ASSERT_EQ(run_command(tool + " unpack --data " + dir.path() + " " + dir.file("test.ann")).status,
            0);
  const auto listed = run_command(tool + " list --json --data " + dir.path());
  ASSERT_EQ(listed.status, 0);
  const auto j = nlohmann::json::parse(listed.out);

  bool fixed = false, every_n = false, sequence = false, window = false, weekdays = false,
       confirm = false, not_manual = false;
  for (const auto& a : j["announcements"]) {
    EXPECT_GE(a["clip"].get<int>(), 0) << a["name"];  // every one has its sound
    EXPECT_FALSE(a["script"].get<std::string>().empty()) << a["name"];
    for (const auto& t : a["fixed_times"]) fixed = fixed || t.get<int>() == 37800;
    every_n = every_n || a["autoplay"].get<int>() > 0;
    sequence = sequence || a["autoplay"].get<int>() < 0;
    window = window || a["day_from"].get<int>() != 0 || a["day_to"].get<int>() != 86400;
    weekdays = weekdays || a["weekdays"].get<int>() != 127;
    confirm = confirm || a["confirm"].get<int>() != 0;
    not_manual = not_manual || a["manual"].get<int>() == 0;
  }
  EXPECT_TRUE(fixed && every_n && sequence && window && weekdays && confirm && not_manual);
  EXPECT_NE(j["notice"]["next_show"].get<long long>(), 0x7FFFFFFF);
  EXPECT_FALSE(j["notice"]["text"].get<std::string>().empty());
}

TEST(MakeDemo, NeedsAnOutputFolder) {
  EXPECT_NE(run_command(ZTA_SOURCE_DIR "/scripts/make-demo.sh 2>/dev/null").status, 0);
}

}  // namespace
}  // namespace zta
