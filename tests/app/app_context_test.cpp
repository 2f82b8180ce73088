// The context's save: a change whose save failed is not forgotten.
#include <filesystem>

#include "announcements/settings_store.hpp"
#include "tests/app/app_test_env.hpp"

namespace zta::test {
namespace {

namespace fs = std::filesystem;

class AppContextTest : public app_fixture {};

TEST_F(AppContextTest, AFailedSaveKeepsTheChangeForTheNextTry) {
  add_announcement("Kept", 0);
  ctx->settings_dirty = true;
  // In the way even for root: the settings file is a folder.
  fs::create_directories(dir.file(settings_file_name) + "/held");
  EXPECT_FALSE(ctx->save());
  EXPECT_TRUE(ctx->dirty()) << "the change would only be saved with the next one";
  fs::remove_all(dir.file(settings_file_name));
  EXPECT_TRUE(ctx->save());
  EXPECT_FALSE(ctx->dirty());
  station back(dir.path());
  load_settings(back);
  ASSERT_EQ(back.content.list.count(), 1);
  EXPECT_EQ(back.content.list[0].name_text(), "Kept");
}

}  // namespace
}  // namespace zta::test
