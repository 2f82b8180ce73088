// The panel's Settings button: the dialog, and what the panel does once it is closed.
#include <QComboBox>
#include <QPushButton>
#include <fstream>
#include <sstream>

#include "announcements/day_part.hpp"
#include "announcements/remote_folder.hpp"
#include "app/main_frame.hpp"
#include "app/main_window.hpp"
#include "base/byte_codec.hpp"
#include "platform/backends/audio_backends.hpp"
#include "platform/sim/posix_locale_info.hpp"
#include "tests/app/app_test_env.hpp"
#include "tests/app/modal_dialog.hpp"
#include "tests/common/announcement_maker.hpp"
#include "ui/day_part_dlg.hpp"
#include "ui/ldb_edit.hpp"
#include "ui/set_dlg.hpp"

namespace zta::test {
namespace {

using namespace zta::ui;

class SettingsDialogTest : public app_fixture {
 protected:
  void SetUp() override {
    app_fixture::SetUp();
    replace_context();
    make_panel();
  }
  // A fixture on other devices makes its own context here.
  virtual void replace_context() {}
  void TearDown() override {
    frame.reset();
    app_fixture::TearDown();
  }
  void make_panel() {
    frame = std::make_unique<main_frame>(*ctx, box_fn());
    panel = frame->client();
    panel->set_up(std::nullopt);
  }
  // Opens Settings from the panel's button, runs `act` in the dialog, then presses OK.
  void settings(const std::function<void(SetDlg&)>& act) {
    int seen = 0;
    when_open<SetDlg>(seen, [act](SetDlg& d) {
      act(d);
      click(d.control(set_ok));
    });
    QTest::mouseClick(panel->control(id_settings), Qt::LeftButton);
    ASSERT_EQ(seen, 1);
  }

  std::unique_ptr<main_frame> frame;
  main_window* panel = nullptr;
};

TEST_F(SettingsDialogTest, AfterSettingsThePageEndsTheLinesTakeTheirLevelsAndTheFolderIsUsed) {
  const temp_folder share;  // a folder outside the data folder
  const std::string ctl = share.path() + "ctl";
  std::filesystem::create_directories(ctl);
  ctx->player.set_page_active(true);
  ctx->settings_dirty = false;
  settings([&](SetDlg& d) {
    click(d.control(set_fade_enable));
    static_cast<LDBEdit*>(d.control(set_fade_up))->set_value(30);
    click(d.control(set_page_enable));
    static_cast<QComboBox*>(d.control(set_page_device))->setCurrentIndex(1);
    click(d.control(set_folder_enable));
    type_into(d.control(set_folder), QString::fromStdString(ctl));
  });
  EXPECT_FALSE(ctx->player.page_active());
  EXPECT_EQ(ctx->st.settings.music_device, 0);
  EXPECT_EQ(mixer->last(0), volume_word(30));  // nothing plays: the fade-up level
  EXPECT_EQ(ctx->st.settings.mic_device, 1);
  EXPECT_EQ(mixer->last(1), 0u);
  EXPECT_TRUE(ctx->dirty());
  EXPECT_TRUE(ctx->remote.enabled());
  EXPECT_TRUE(std::filesystem::exists(ctl + "/annlist.dat"));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsDialogTest, ARefusedControlFolderIsExplainedAndKeptAsTyped) {
  settings([&](SetDlg& d) {
    click(d.control(set_folder_enable));
    type_into(d.control(set_folder), "logs");  // relative: inside the data folder
  });
  EXPECT_EQ(field_text(ctx->st.settings.control_folder), "logs");
  EXPECT_FALSE(ctx->remote.enabled());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Warning");
  EXPECT_EQ(boxes[0].text, refused_data_folder_text);
  EXPECT_FALSE(dir.exists("annlist.dat"));
}

TEST_F(SettingsDialogTest, ClearingTheLogOnStartRemovesTheServiceToo) {
  auto& registry = static_cast<xdg_startup_registry&>(*ctx->services.registry);
  registry.logon_start_set();
  ASSERT_TRUE(registry.service_install());
  ASSERT_TRUE(std::filesystem::exists(registry.unit_path()));
  settings([](SetDlg& d) {
    EXPECT_TRUE(static_cast<QCheckBox*>(d.control(set_service_start))->isChecked());
    click(d.control(set_logon_start));
  });
  EXPECT_FALSE(std::filesystem::exists(registry.autostart_path()));
  EXPECT_FALSE(std::filesystem::exists(registry.unit_path()));
  EXPECT_FALSE(std::filesystem::exists(registry.wants_link_path()));
}

// The whole path on the simulated sound card: what the user sets is heard in the next play.
class SimulatedDeviceTest : public SettingsDialogTest {
 protected:
  void replace_context() override {
    ctx.reset();
    ctx = simulated_context(dir, "sim", 50, date_order::month_day_year);
    ann_blk a = always_current("Opening", 0);
    a.manual = 1;
    dir.write("data/afl000.aud", std::vector<std::uint8_t>(44100, 0));
    ctx->st.content.list.push_back(a);
    ctx->st.clip_use[0] |= clip_allocated;
  }
  std::string levels() const {
    std::ifstream in(dir.file("sim/levels.txt"));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

std::string hex_word(std::uint32_t w) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", w);
  return text;
}

TEST_F(SimulatedDeviceTest, DeviceLevelDayPartAndControlFolderReachTheNextPlay) {
  std::filesystem::create_directories(dir.path() + "ctl");
  ASSERT_EQ(panel->list_count(), 1);
  settings([&](SetDlg& d) {
    auto* out = static_cast<QComboBox*>(d.control(set_sound_out_device));
    EXPECT_EQ(out->itemText(0), "Simulated output");
    out->setCurrentIndex(0);
    type_into(static_cast<LDBEdit*>(d.control(set_announcement_level))->box(), "40");
    click(d.control(set_fade_enable));
    EXPECT_EQ(static_cast<QComboBox*>(d.control(set_fade_device))->currentText(), "sim: Music");
    static_cast<LDBEdit*>(d.control(set_fade_down))->set_value(20);
    int day_part_seen = 0;
    when_open<DayPartDlg>(day_part_seen, [](DayPartDlg& day) {
      click(day.control(day_add));
      for (int i = 0; i < 10; ++i) click(day.control(day_announcements_down));
      click(day.control(day_music_up));
      QTest::keyClick(&day, Qt::Key_Escape);
    });
    click(d.control(set_day_part));
    EXPECT_EQ(day_part_seen, 1);
    click(d.control(set_folder_enable));
    type_into(d.control(set_folder), QString::fromStdString(dir.path() + "ctl"));
  });
  EXPECT_TRUE(dir.exists("ctl/annlist.dat"));
  panel->play_selected();
  ASSERT_TRUE(ctx->player.is_open());
  // Announcement 40 - 10 during the day part; music fade-down 20 + 1 while it plays.
  const std::string heard = levels();
  EXPECT_NE(heard.find("wave_out " + hex_word(volume_word(30))), std::string::npos) << heard;
  EXPECT_NE(heard.find("line 0 " + hex_word(volume_word(21))), std::string::npos) << heard;
  ctx->player.stop();
}

}  // namespace
}  // namespace zta::test
