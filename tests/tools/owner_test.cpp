// zta owner: the customer number and owner text, and nothing else of the settings file.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "announcements/owner_file.hpp"
#include "announcements/settings_store.hpp"
#include "tests/common/temp_folder.hpp"
#include "tests/tools/run_command.hpp"

namespace zta {
namespace {

using test::temp_folder;

test::command_result run_tool(const std::string& args) {
  return test::run_command(std::string(ZTA_TOOL) + " " + args + " 2>&1");
}

TEST(ZtaOwner, SetsTheNumberAndTextAndLeavesTheRestOfTheFile) {
  temp_folder dir;
  station st(dir.path(), 1000);
  st.settings.announcement_level = 30;
  ann_blk a = package_record_defaults();
  a.set_name("Kept");
  st.content.list.push_back(a);
  const auto before = encode_settings_file(st);
  dir.write(settings_file_name, before);

  ASSERT_EQ(run_tool("owner --data " + dir.path() + " --customer 4711 --text 'Corner Shop'").status,
            0);
  auto after = dir.read(settings_file_name);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (i < owner_block_offset || i >= owner_block_offset + owner_block_size) {
      ASSERT_EQ(after[i], before[i]) << i;
    }
  }
  // The tool's own reader shows what was written; a second run keeps the text.
  ASSERT_EQ(run_tool("owner --data " + dir.path() + " --customer 12").status, 0);
  const auto r = test::run_command(std::string(ZTA_TOOL) + " settings --json --data " + dir.path() +
                                   " 2>/dev/null");
  ASSERT_EQ(r.status, 0);
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["owner"]["customer_number"], 12);
  EXPECT_EQ(j["owner"]["identification"], "Corner Shop");
  EXPECT_EQ(j["settings"]["announcement_level"], 30);
}

TEST(ZtaOwner, BadInputIsRefusedWithAReasonAndChangesNothing) {
  temp_folder dir;
  station st(dir.path(), 1000);
  const auto before = encode_settings_file(st);
  dir.write(settings_file_name, before);
  struct bad_case {
    std::string args;
    int status;
    const char* says;
  };
  const bad_case cases[] = {
      {"owner --data " + dir.path() + " --customer -3", 2, "whole number from 0 to 2147483647"},
      {"owner --data " + dir.path() + " --customer 12x", 2, "whole number"},
      {"owner --data " + dir.path() + " --customer 99999999999", 2, "whole number"},
      {"owner --data " + dir.path(), 2, "usage: zta owner"},
      {"owner --data " + dir.path() + "absent --customer 1", 1, "does not exist"},
  };
  for (const bad_case& c : cases) {
    const auto r = run_tool(c.args);
    EXPECT_EQ(WEXITSTATUS(r.status), c.status) << c.args;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << ": " << r.out;
    EXPECT_EQ(dir.read(settings_file_name), before) << c.args;
  }
  const std::vector<std::uint8_t> damaged(700, 1);
  dir.write(settings_file_name, damaged);
  const auto r = run_tool("owner --data " + dir.path() + " --customer 5");
  EXPECT_EQ(WEXITSTATUS(r.status), 1);
  EXPECT_NE(r.out.find("damaged"), std::string::npos) << r.out;
  EXPECT_EQ(dir.read(settings_file_name), damaged);
}

TEST(ZtaOwner, AFolderWithoutSettingsGetsTheDefaultsAndTheOwner) {
  temp_folder dir;
  ASSERT_EQ(run_tool("owner --data " + dir.path() + " --customer 64").status, 0);
  station st(dir.path());
  load_settings(st);
  EXPECT_EQ(st.content.owner.customer_number(), 64);
  EXPECT_EQ(st.settings, settings_block{});
  EXPECT_TRUE(st.content.list.empty());
}

}  // namespace
}  // namespace zta
