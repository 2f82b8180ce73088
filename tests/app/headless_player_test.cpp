#include "app/headless_player.hpp"

#include <QApplication>

#include "base/byte_codec.hpp"
#include "tests/app/app_test_env.hpp"
#include "tests/app/package_fixture.hpp"

namespace zta::test {
namespace {

class HeadlessTest : public app_fixture {};

TEST_F(HeadlessTest, SetUpArmsTheScheduleWithoutASplashAndOpensNoWindow) {
  headless_player player(*ctx);
  player.set_up(std::nullopt);
  for (int id : {1, 2, 4, 5}) EXPECT_TRUE(player.timers().armed(id)) << id;
  EXPECT_FALSE(player.timers().armed(9));
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

TEST_F(HeadlessTest, AHandedOverFileIsLoadedAndWindowCommandsAreIgnored) {
  dir.write("shop.vrx", one_announcement_package("Shop Opening"));
  ctx->st.load_opts.method = load_method::ftp;
  headless_player player(*ctx);
  player.set_up(std::nullopt);
  player.open_command(std::nullopt);
  player.open_command(std::string("/logon"));
  EXPECT_EQ(ctx->st.content.list.count(), 0);
  EXPECT_FALSE(ctx->dirty());
  player.open_command(dir.file("shop.vrx"));
  ASSERT_EQ(ctx->st.content.list.count(), 1);
  EXPECT_EQ(ctx->st.content.list[0].name_text(), "Shop Opening");
  EXPECT_GE(ctx->st.content.list[0].clip, 0);
  EXPECT_EQ(ctx->st.load_opts.method, load_method::ftp);
  EXPECT_EQ(field_text(ctx->st.load_opts.file_path), "");
  EXPECT_TRUE(ctx->dirty());
  EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
}

}  // namespace
}  // namespace zta::test
