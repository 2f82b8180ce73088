#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/byte_codec.hpp"
#include "loading/load_options_edit.hpp"
#include "tests/ui/qt_app.hpp"
#include "ui/loadoptsdlg.hpp"

namespace zta::ui {
namespace {

class LoadOptsDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    options = default_load_options(100);
    set_field_text(options.file_path, "/media/cdrom/pa7.vrx");
  }
  void open() {
    test::qt_app();
    loadoptsdlg::links links;
    links.run_load = [this] {
      loads.push_back(options);
      if (load_results.empty()) return false;
      const bool r = load_results.front();
      load_results.erase(load_results.begin());
      return r;
    };
    links.locate_file = [this](QWidget*, const std::string& current) -> std::optional<std::string> {
      located_from.push_back(current);
      if (picks.empty()) return std::nullopt;
      auto p = picks.front();
      picks.erase(picks.begin());
      return p;
    };
    links.now = [] { return 9000; };
    dlg = std::make_unique<loadoptsdlg>(options, links);
    dlg->show();
  }
  QWidget* at(int id) const { return dlg->control(id); }
  QLineEdit* edit(int id) const { return static_cast<QLineEdit*>(at(id)); }
  void click(int id) const {
    QWidget* w = at(id);
    const bool small =
        qobject_cast<QAbstractButton*>(w) != nullptr && qobject_cast<QPushButton*>(w) == nullptr;
    QTest::mouseClick(w, Qt::LeftButton, {},
                      small ? QPoint(6, w->height() / 2) : w->rect().center());
  }
  void type(int id, const QString& text) const {
    edit(id)->selectAll();
    QTest::keyClick(edit(id), Qt::Key_Delete);
    QTest::keyClicks(edit(id), text);
  }

  load_options options;
  std::unique_ptr<loadoptsdlg> dlg;
  std::vector<load_options> loads;  // the options as each load found them
  std::vector<bool> load_results;
  std::vector<std::optional<std::string>> picks;
  std::vector<std::string> located_from;
};

TEST_F(LoadOptsDlgTest, OpensOnTheStoredMethodWithItsValues) {
  options.method = load_method::ftp;
  options.drive = 1;
  set_field_text(options.ftp_server, "ftp.shop.example");
  options.update_interval = daily_update_interval;
  open();
  EXPECT_EQ(dlg->windowTitle(), "Load Announcements");
  EXPECT_TRUE(static_cast<QRadioButton*>(at(load_ftp))->isChecked());
  EXPECT_EQ(static_cast<QComboBox*>(at(load_drive))->currentText(), "[-b-]");
  EXPECT_EQ(static_cast<QComboBox*>(at(load_drive))->count(), 2);
  EXPECT_EQ(edit(load_path)->text(), "/media/cdrom/pa7.vrx");
  EXPECT_EQ(edit(load_server)->text(), "ftp.shop.example");
  EXPECT_TRUE(static_cast<QCheckBox*>(at(load_daily))->isChecked());
}

TEST_F(LoadOptsDlgTest, EachMethodEnablesItsOwnControlsOnly) {
  struct row {
    int radio;
    bool drive, path, server, daily;
  };
  const row rows[] = {
      {load_file, false, true, false, false},
      {load_ftp, false, false, true, true},
      {load_disk, true, false, false, false},
  };
  open();
  for (const row& r : rows) {
    click(r.radio);
    EXPECT_EQ(at(load_drive)->isEnabled(), r.drive) << r.radio;
    EXPECT_EQ(at(load_path)->isEnabled(), r.path) << r.radio;
    EXPECT_EQ(at(load_browse)->isEnabled(), r.path) << r.radio;
    EXPECT_EQ(at(load_server)->isEnabled(), r.server) << r.radio;
    EXPECT_EQ(at(load_daily)->isEnabled(), r.daily) << r.radio;
  }
}

TEST_F(LoadOptsDlgTest, CancelStoresTheOptionsWithoutLoading) {
  for (const bool escape : {false, true}) {
    options = default_load_options(100);
    open();
    click(load_ftp);
    type(load_server, "127.0.0.1:2121");
    click(load_daily);
    if (escape)
      QTest::keyClick(dlg.get(), Qt::Key_Escape);
    else
      click(load_cancel);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(loads.empty());
    EXPECT_EQ(options.method, load_method::ftp);
    EXPECT_EQ(field_text(options.ftp_server), "127.0.0.1:2121");
    EXPECT_EQ(options.update_interval, 86400);
    EXPECT_EQ(options.last_success, 9000);
    EXPECT_EQ(options.last_attempt, 9000);
  }
  open();
  click(load_disk);
  static_cast<QComboBox*>(at(load_drive))->setCurrentIndex(1);
  click(load_cancel);
  EXPECT_EQ(options.method, load_method::disk);
  EXPECT_EQ(options.drive, 1);
  EXPECT_EQ(options.update_interval, -1);  // the daily check is off outside the FTP method
}

TEST_F(LoadOptsDlgTest, OnlyFieldsTheUserChangedAreReadAndThoseUpTo126Bytes) {
  const std::string located = "/" + std::string(200, 'l') + ".vrx";
  set_field_text(options.file_path, located);
  set_field_text(options.ftp_server, "ftp.keep.example");
  open();
  click(load_cancel);
  EXPECT_EQ(field_text(options.file_path), located);  // shown, not typed: kept whole
  EXPECT_EQ(field_text(options.ftp_server), "ftp.keep.example");
  open();
  click(load_file);
  type(load_path, QString::fromStdString("/" + std::string(199, 't')));
  click(load_cancel);
  EXPECT_EQ(field_text(options.file_path), "/" + std::string(125, 't'));
}

TEST_F(LoadOptsDlgTest, LoadNowStoresFirstAndASuccessfulLoadCloses) {
  open();
  click(load_file);
  type(load_path, "/srv/pa9.vrx");
  load_results = {true};
  click(load_now);
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].method, load_method::file);
  EXPECT_EQ(field_text(loads[0].file_path), "/srv/pa9.vrx");
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_TRUE(located_from.empty());
}

TEST_F(LoadOptsDlgTest, AFailedLoadByDiskOrFtpLeavesTheDialogOpen) {
  for (const int method : {load_disk, load_ftp}) {
    loads.clear();
    open();
    click(method);
    load_results = {false};
    click(load_now);
    EXPECT_EQ(loads.size(), 1u) << method;
    EXPECT_TRUE(dlg->isVisible()) << method;
    EXPECT_TRUE(located_from.empty()) << method;
  }
}

TEST_F(LoadOptsDlgTest, AFailedFileLoadOpensLocateFileAndTriesThePickedFile) {
  options.method = load_method::file;
  open();
  load_results = {false, false, true};
  picks = {"/mnt/usb/pa7.vrx", "/mnt/usb/pa8.vrx"};
  click(load_now);
  ASSERT_EQ(loads.size(), 3u);
  EXPECT_EQ(located_from, (std::vector<std::string>{"/media/cdrom/pa7.vrx", "/mnt/usb/pa7.vrx"}));
  EXPECT_EQ(field_text(loads[1].file_path), "/mnt/usb/pa7.vrx");
  EXPECT_EQ(field_text(loads[2].file_path), "/mnt/usb/pa8.vrx");
  EXPECT_EQ(edit(load_path)->text(), "/mnt/usb/pa8.vrx");
  EXPECT_FALSE(dlg->isVisible());

  // Cancelling Locate File ends the tries; the dialog stays.
  open();
  load_results = {false};
  picks = {std::nullopt};
  click(load_now);
  EXPECT_EQ(loads.size(), 4u);
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(field_text(options.file_path), "/mnt/usb/pa8.vrx");
}

TEST_F(LoadOptsDlgTest, BrowseStoresThePickedFileAndLoadsAtOnce) {
  options.method = load_method::file;
  open();
  picks = {std::nullopt};
  click(load_browse);  // cancelled: nothing
  EXPECT_TRUE(loads.empty());
  EXPECT_EQ(field_text(options.file_path), "/media/cdrom/pa7.vrx");
  picks = {"/home/shop/Downloads/summer.wav"};
  load_results = {true};
  click(load_browse);
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(field_text(loads[0].file_path), "/home/shop/Downloads/summer.wav");
  EXPECT_EQ(loads[0].method, load_method::file);
  EXPECT_FALSE(dlg->isVisible());
}

}  // namespace
}  // namespace zta::ui
