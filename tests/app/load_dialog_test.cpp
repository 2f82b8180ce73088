// The panel's Load button: the Load Announcements dialog running real loads through the progress
// dialog, from a package file, a disk set and an FTP server.
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include "app/loaddlg.hpp"
#include "app/main_frame.hpp"
#include "app/main_window.hpp"
#include "base/byte_codec.hpp"
#include "loading/package_writer.hpp"
#include "platform/sim/fixed_drive_mounts.hpp"
#include "tests/app/app_test_env.hpp"
#include "tests/app/modal_dialog.hpp"
#include "tests/app/package_fixture.hpp"
#include "tests/platform/ftp_server.hpp"
#include "ui/loadoptsdlg.hpp"

namespace zta::test {
namespace {

using namespace zta::ui;

class LoadDialogTest : public app_fixture {
 protected:
  void SetUp() override {
    app_fixture::SetUp();
    frame = std::make_unique<main_frame>(*ctx, box_fn());
    panel = frame->client();
    panel->set_up(std::nullopt);
    panel->locate_file = [this](QWidget*, const std::string& current) {
      located_from.push_back(current);
      std::optional<std::string> pick;
      if (!picks.empty()) {
        pick = picks.front();
        picks.erase(picks.begin());
      }
      return pick;
    };
  }
  void TearDown() override {
    frame.reset();
    app_fixture::TearDown();
  }
  // Opens Load from the panel's button and runs `act` in the dialog; false when the dialog is
  // still open afterwards (it is then cancelled).
  bool load(const std::function<void(loadoptsdlg&)>& act) {
    int seen = 0;
    bool closed = false;
    when_open<loadoptsdlg>(seen, [act, &closed](loadoptsdlg& d) {
      act(d);
      closed = !d.isVisible();
      if (!closed) click(d.control(load_cancel));
    });
    QTest::mouseClick(panel->control(id_load), Qt::LeftButton);
    EXPECT_EQ(seen, 1);
    return closed;
  }
  QListWidget* list() const { return static_cast<QListWidget*>(panel->control(id_list)); }

  std::unique_ptr<main_frame> frame;
  main_window* panel = nullptr;
  std::vector<std::string> located_from;
  std::vector<std::string> picks;
};

TEST_F(LoadDialogTest, APackageFileLoadsThroughTheDialogAndTheOptionsAreKept) {
  dir.write("shop.vrx", one_announcement_package("Shop Opening"));
  ctx->settings_dirty = false;
  EXPECT_TRUE(load([&](loadoptsdlg& d) {
    click(d.control(load_file));
    type_into(d.control(load_path), QString::fromStdString(dir.file("shop.vrx")));
    click(d.control(load_now));
  }));
  ASSERT_EQ(panel->list_count(), 1);
  EXPECT_EQ(list()->item(0)->text(), "Shop Opening");
  EXPECT_GE(ctx->st.content.list[0].clip, 0);
  EXPECT_EQ(ctx->st.load_opts.method, load_method::file);
  EXPECT_EQ(field_text(ctx->st.load_opts.file_path), dir.file("shop.vrx"));
  EXPECT_TRUE(ctx->dirty());
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(located_from.empty());
}

TEST_F(LoadDialogTest, AFailedFileLoadOpensLocateFileAndLoadsThePickedFile) {
  dir.write("found.vrx", one_announcement_package("Found It"));
  picks = {dir.file("found.vrx")};
  EXPECT_TRUE(load([&](loadoptsdlg& d) {
    click(d.control(load_file));
    type_into(d.control(load_path), QString::fromStdString(dir.file("missing.vrx")));
    click(d.control(load_now));
  }));
  EXPECT_EQ(located_from, std::vector<std::string>{dir.file("missing.vrx")});
  ASSERT_EQ(panel->list_count(), 1);
  EXPECT_EQ(list()->item(0)->text(), "Found It");
  EXPECT_EQ(field_text(ctx->st.load_opts.file_path), dir.file("found.vrx"));
}

TEST_F(LoadDialogTest, CancelStoresTheOptionsAndLoadsNothing) {
  EXPECT_TRUE(load([&](loadoptsdlg& d) {
    click(d.control(load_ftp));
    type_into(d.control(load_server), "ftp.shop.example");
    click(d.control(load_daily));
    click(d.control(load_cancel));
  }));
  EXPECT_EQ(ctx->st.load_opts.method, load_method::ftp);
  EXPECT_EQ(field_text(ctx->st.load_opts.ftp_server), "ftp.shop.example");
  EXPECT_EQ(ctx->st.load_opts.update_interval, 86400);
  EXPECT_EQ(ctx->st.load_opts.last_success, wednesday_noon());
  EXPECT_EQ(panel->list_count(), 0);
  EXPECT_TRUE(ctx->dirty());
}

TEST_F(LoadDialogTest, ADiskSetLoadsFromTheChosenDrive) {
  std::vector<std::int16_t> pcm(6000, 900);
  package_build b;
  package_record_spec r;
  r.name = "From Disk";
  r.id_stamp = 31;
  r.id_serial = static_cast<std::int32_t>(pcm.size());
  b.records.push_back(r);
  const auto disks = build_disk_set(b, {{31, r.id_serial, encode_sound(pcm, false)}}, 1 << 20);
  ASSERT_EQ(disks.size(), 1u);
  std::filesystem::create_directories(dir.path() + "floppy1");
  dir.write("floppy1/data.npd", disks[0].data_npd);
  for (std::size_t i = 0; i < disks[0].pieces.size(); ++i)
    dir.write("floppy1/" + std::string(1, static_cast<char>('a' + i)) + ".aud", disks[0].pieces[i]);
  ctx->services.drives =
      std::make_unique<fixed_drive_mounts>(dir.path() + "floppy0/", dir.path() + "floppy1/");
  EXPECT_TRUE(load([&](loadoptsdlg& d) {
    click(d.control(load_disk));
    static_cast<QComboBox*>(d.control(load_drive))->setCurrentIndex(1);
    click(d.control(load_now));
  }));
  ASSERT_EQ(panel->list_count(), 1);
  EXPECT_EQ(list()->item(0)->text(), "From Disk");
  EXPECT_EQ(ctx->st.load_opts.drive, 1);
}

TEST_F(LoadDialogTest, AnFtpServerPackageLoadsThroughTheDialog) {
  ftp_server server;
  ASSERT_TRUE(server.running());
  const auto package = one_announcement_package("Online Offer");
  server.put("pa0.vrx", std::string(package.begin(), package.end()), 1700000000);
  EXPECT_TRUE(load([&](loadoptsdlg& d) {
    click(d.control(load_ftp));
    type_into(d.control(load_server), QString::fromStdString(server.address()));
    click(d.control(load_now));
  }));
  ASSERT_EQ(panel->list_count(), 1);
  EXPECT_EQ(list()->item(0)->text(), "Online Offer");
  EXPECT_NE(ctx->st.load_opts.ftp_stamp, 0);
  EXPECT_TRUE(dir.exists("pa0.vrx"));
  EXPECT_EQ(ctx->st.load_opts.update_interval, -1);
}

TEST_F(LoadDialogTest, AFailedFtpLoadLeavesTheDialogOpen) {
  ftp_server server;
  ASSERT_TRUE(server.running());  // serves no package
  EXPECT_FALSE(load([&](loadoptsdlg& d) {
    click(d.control(load_ftp));
    type_into(d.control(load_server), QString::fromStdString(server.address()));
    click(d.control(load_now));
  }));
  EXPECT_EQ(panel->list_count(), 0);
  EXPECT_TRUE(located_from.empty());
}

TEST_F(LoadDialogTest, TheDailyCheckDoesNotStartASecondLoadInsideARunningOne) {
  dir.write("shop.vrx", one_announcement_package("Shop Opening"));
  load_options& o = ctx->st.load_opts;
  o.method = load_method::ftp;  // an hourly check that is due now
  o.update_interval = 3600;
  o.last_success = 0;
  o.last_attempt = 0;
  set_field_text(o.ftp_server, "127.0.0.1:1");  // nobody answers there
  int progress_dialogs = 0;
  int most_at_once = 0;
  when_open<loaddlg>(progress_dialogs, [&](loaddlg&) {
    // Counted from inside whatever loop runs next: a second progress dialog's, if one opens.
    QTimer::singleShot(0, [&] {
      int shown = 0;
      for (QWidget* w : QApplication::topLevelWidgets())
        shown += qobject_cast<loaddlg*>(w) != nullptr && w->isVisible() ? 1 : 0;
      most_at_once = std::max(most_at_once, shown);
    });
    panel->timers().fire(2);
  });
  panel->open_command(dir.file("shop.vrx"));
  EXPECT_EQ(progress_dialogs, 1);
  EXPECT_LE(most_at_once, 1);
  EXPECT_EQ(panel->list_count(), 1);
  EXPECT_EQ(o.last_attempt, 0);  // no check was tried
}

}  // namespace
}  // namespace zta::test
