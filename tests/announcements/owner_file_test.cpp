#include <gtest/gtest.h>

#include <sys/stat.h>

#include <vector>

#include "announcements/owner_file.hpp"
#include "announcements/settings_store.hpp"
#include "tests/common/announcement_maker.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

TEST(OwnerFields, TextFollowsTheNumberAndIsCutAtACharacter) {
  owner_block o;
  o.set_customer_number(4711);
  set_owner_text(o, "Corner Shop, Main Street");
  EXPECT_EQ(o.customer_number(), 4711);
  EXPECT_EQ(owner_text(o), "Corner Shop, Main Street");
  EXPECT_EQ(o.bytes[4], 'C');
  set_owner_text(o, "Kiosk");
  EXPECT_EQ(owner_text(o), "Kiosk");
  EXPECT_EQ(o.bytes[9], 0);  // the longer old text is gone
  EXPECT_EQ(o.bytes[10], 0);
  std::string long_text(101, 'x');
  long_text += "\xc3\xa9\xc3\xa9";
  set_owner_text(o, long_text);
  EXPECT_EQ(owner_text(o), long_text.substr(0, 101));
  EXPECT_EQ(o.bytes[106], 0);  // always terminated
  EXPECT_EQ(o.customer_number(), 4711);
}

TEST(OwnerFields, CustomerNumbersAreWholeNumbersThatFitTheField) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {"0", 0},
      {"4711", 4711},
      {" 12 ", 12},
      {"2147483647", 2147483647},
      {"2147483648", std::nullopt},
      {"-1", std::nullopt},
      {"", std::nullopt},
      {"12a", std::nullopt},
      {"1 2", std::nullopt},
      {"99999999999", std::nullopt},
      {"+5", std::nullopt},
  };
  for (const auto& [text, n] : cases) EXPECT_EQ(parse_customer_number(text), n) << text;
}

class OwnerFileTest : public ::testing::Test {
 protected:
  test::temp_folder dir;
};

TEST_F(OwnerFileTest, OnlyTheOwnerBytesOfTheFileChange) {
  station st(dir.path(), 1000);
  st.settings.announcement_level = 42;
  st.content.list.push_back(test::always_current("Opening", 3));
  st.content.notice.text = "Sale";
  const std::vector<std::uint8_t> before = encode_settings_file(st);
  dir.write(settings_file_name, before);

  owner_block o;
  o.set_customer_number(77);
  set_owner_text(o, "Deli");
  ASSERT_EQ(write_owner_block(dir.path(), o, 5000), owner_write_result::written);
  const std::vector<std::uint8_t> after = dir.read(settings_file_name);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) {
    const bool owner_byte = i >= owner_block_offset && i < owner_block_offset + owner_block_size;
    if (!owner_byte) {
      ASSERT_EQ(after[i], before[i]) << i;
    }
  }
  owner_block read;
  ASSERT_TRUE(read_owner_block(dir.path(), read));
  EXPECT_EQ(read, o);
  station loaded(dir.path());
  load_settings(loaded);
  EXPECT_EQ(loaded.content.owner.customer_number(), 77);
  EXPECT_EQ(loaded.content.list.count(), 1);
}

TEST_F(OwnerFileTest, WithoutAFileTheDefaultsAreWrittenWithTheOwner) {
  owner_block o;
  EXPECT_TRUE(read_owner_block(dir.path(), o));
  EXPECT_EQ(o, owner_block{});
  o.set_customer_number(10);
  ASSERT_EQ(write_owner_block(dir.path(), o, 5000), owner_write_result::written);
  station loaded(dir.path());
  load_settings(loaded);
  EXPECT_EQ(loaded.content.owner.customer_number(), 10);
  EXPECT_EQ(loaded.settings, settings_block{});
  EXPECT_EQ(loaded.load_opts, default_load_options(5000));
}

TEST_F(OwnerFileTest, AShortFileOrAPipeIsLeftAlone) {
  const std::vector<std::uint8_t> short_file(900, 7);
  dir.write(settings_file_name, short_file);
  owner_block o;
  o.set_customer_number(3);
  EXPECT_EQ(write_owner_block(dir.path(), o, 0), owner_write_result::damaged_file);
  EXPECT_EQ(dir.read(settings_file_name), short_file);
  EXPECT_FALSE(read_owner_block(dir.path(), o));

  std::filesystem::remove(dir.file(settings_file_name));
  ASSERT_EQ(::mkfifo(dir.file(settings_file_name).c_str(), 0600), 0);
  EXPECT_EQ(write_owner_block(dir.path(), o, 0), owner_write_result::failed);
  EXPECT_FALSE(read_owner_block(dir.path(), o));
}

}  // namespace
}  // namespace zta
