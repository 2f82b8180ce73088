// Runs the built zta tool on data folders made by the test.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "announcements/settings_store.hpp"
#include "tests/common/temp_folder.hpp"
#include "tests/tools/run_command.hpp"

namespace zta {
namespace {

using test::temp_folder;

using run_result = test::command_result;

run_result run_tool(const std::string& args) {
  return test::run_command(std::string(ZTA_TOOL) + " " + args + " 2>/dev/null");
}

TEST(ZtaList, ThreeHundredFixedTimesShow255AfterResave) {
  temp_folder dir;
  station st(dir.path(), 0);
  ann_blk a = package_record_defaults();
  a.set_name("Many times");
  for (int i = 0; i < 300; ++i) a.fixed_times.push_back(i);
  st.content.list.push_back(a);
  // The list in memory holds 300 times; a one-byte count can carry 255 of them.
  ASSERT_TRUE(save_settings(st));
  ASSERT_EQ(run_tool("resave --data " + dir.path()).status, 0);
  const run_result r = run_tool("list --json --data " + dir.path());
  ASSERT_EQ(r.status, 0);
  const auto j = nlohmann::json::parse(r.out);
  ASSERT_EQ(j["announcements"].size(), 1u);
  EXPECT_EQ(j["announcements"][0]["fixed_times"].size(), 255u);
  EXPECT_EQ(j["announcements"][0]["name"], "Many times");
  EXPECT_EQ(j["notice"]["next_show"], 0x7FFFFFFF);
}

TEST(ZtaList, CountByte0x80LoadsAsAnEmptyList) {
  temp_folder dir;
  station st(dir.path(), 0);
  st.content.list.push_back(package_record_defaults());
  auto bytes = encode_settings_file(st);
  bytes[465 + 410 + 107] = 0x80;
  dir.write("vrxpa.dat", bytes);
  const run_result r = run_tool("list --json --data " + dir.path());
  ASSERT_EQ(r.status, 0);
  EXPECT_TRUE(nlohmann::json::parse(r.out)["announcements"].empty());
}

TEST(ZtaList, WindowsTextIsShownAsUtf8) {
  temp_folder dir;
  station st(dir.path(), 0);
  ann_blk a = package_record_defaults();
  a.set_name("Caf\xE9");
  st.content.list.push_back(a);
  ASSERT_TRUE(save_settings(st));
  const run_result r = run_tool("list --json --data " + dir.path());
  EXPECT_EQ(nlohmann::json::parse(r.out)["announcements"][0]["name"], "Caf\xC3\xA9");
}

TEST(ZtaTool, ErrorsExitNonZero) {
  EXPECT_NE(run_tool("list --data /nonexistent-zta-folder").status, 0);
  EXPECT_NE(run_tool("settings").status, 0);
  EXPECT_NE(run_tool("frobnicate").status, 0);
  temp_folder dir;
  const run_result r = run_tool("settings --json --data " + dir.path());
  ASSERT_EQ(r.status, 0);
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["settings"]["announcement_level"], 65);
  EXPECT_EQ(j["load_options"]["min_retry"], 6000);
}

}  // namespace
}  // namespace zta
