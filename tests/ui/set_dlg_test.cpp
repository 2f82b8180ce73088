#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "base/byte_codec.hpp"
#include "platform/sim/memory_startup_registry.hpp"
#include "tests/ui/qt_app.hpp"
#include "ui/customer_dlg.hpp"
#include "ui/day_part_dlg.hpp"
#include "ui/ldb_edit.hpp"
#include "ui/set_dlg.hpp"

namespace zta::ui {
namespace {

struct asked {
  box_kind kind;
  QString caption;
  QString text;
};

class SetDlgTest : public ::testing::Test {
 protected:
  void open(bool with_registry = true) {
    test::qt_app();
    SetDlg::links links{
        with_registry ? &registry : nullptr,
        [this](QWidget*, box_kind kind, const QString& caption, const QString& text) {
          boxes.push_back({kind, caption, text});
          if (answers.empty()) return box_answer::ok;
          box_answer a = answers.front();
          answers.erase(answers.begin());
          return a;
        },
        [this](int c) { helps.push_back(c); }};
    dlg = std::make_unique<SetDlg>(settings, owner, devices, links);
    dlg->show();
  }
  QCheckBox* box(int id) const { return static_cast<QCheckBox*>(dlg->control(id)); }
  QComboBox* combo(int id) const { return static_cast<QComboBox*>(dlg->control(id)); }
  QLineEdit* edit(int id) const { return static_cast<QLineEdit*>(dlg->control(id)); }
  LDBEdit* level(int id) const { return static_cast<LDBEdit*>(dlg->control(id)); }
  // On a check box, its indicator (the box answers clicks on its indicator and text only).
  void click(int id) const {
    QWidget* w = dlg->control(id);
    const bool check = qobject_cast<QCheckBox*>(w) != nullptr;
    QTest::mouseClick(w, Qt::LeftButton, {},
                      check ? QPoint(6, w->height() / 2) : w->rect().center());
  }
  void type(int id, const QString& text) const {
    edit(id)->selectAll();
    QTest::keyClick(edit(id), Qt::Key_Delete);
    QTest::keyClicks(edit(id), text);
  }
  void ok() const { QTest::mouseClick(dlg->control(set_ok), Qt::LeftButton); }
  std::vector<QString> items(int id) const {
    std::vector<QString> out;
    out.reserve(static_cast<std::size_t>(combo(id)->count()));
    for (int i = 0; i < combo(id)->count(); ++i) out.push_back(combo(id)->itemText(i));
    return out;
  }

  settings_block settings;
  owner_block owner;
  device_lists devices{{"Card A", "Card B"}, {"Mic In"}, {"Line", "Mic"}};
  memory_startup_registry registry;
  std::unique_ptr<SetDlg> dlg;
  std::vector<asked> boxes;
  std::vector<box_answer> answers;
  std::vector<int> helps;
};

TEST_F(SetDlgTest, OpensWithTheFirstRunSettingsInItsControls) {
  open();
  EXPECT_EQ(dlg->windowTitle(), "Settings");
  EXPECT_EQ(level(set_announcement_level)->value(), 65);
  EXPECT_EQ(items(set_sound_out_device), (std::vector<QString>{"Card A", "Card B"}));
  EXPECT_EQ(items(set_audition_device), (std::vector<QString>{"Card A", "Card B"}));
  EXPECT_EQ(items(set_record_device), std::vector<QString>{"Mic In"});
  EXPECT_EQ(items(set_fade_device), (std::vector<QString>{"Line", "Mic"}));
  EXPECT_EQ(items(set_page_device), (std::vector<QString>{"Line", "Mic"}));
  EXPECT_EQ(combo(set_sound_out_device)->currentIndex(), 0);
  EXPECT_FALSE(box(set_balanced)->isChecked());
  // Fade and page off: their first item shown, their levels disabled.
  EXPECT_FALSE(box(set_fade_enable)->isChecked());
  EXPECT_EQ(combo(set_fade_device)->currentIndex(), 0);
  EXPECT_FALSE(level(set_fade_up)->isEnabled());
  EXPECT_FALSE(level(set_fade_down)->isEnabled());
  EXPECT_EQ(level(set_fade_up)->value(), 50);
  EXPECT_EQ(level(set_fade_down)->value(), 15);
  EXPECT_FALSE(box(set_page_enable)->isChecked());
  EXPECT_FALSE(level(set_mic_level)->isEnabled());
  EXPECT_EQ(level(set_mic_level)->value(), 100);
  // Sequence every minute, audition and recording on device 0.
  EXPECT_TRUE(box(set_sequence_enable)->isChecked());
  EXPECT_EQ(edit(set_sequence_interval)->text(), "1");
  EXPECT_TRUE(edit(set_sequence_interval)->isEnabled());
  EXPECT_TRUE(box(set_audition_enable)->isChecked());
  EXPECT_EQ(combo(set_audition_device)->currentIndex(), 0);
  EXPECT_TRUE(box(set_record_enable)->isChecked());
  EXPECT_EQ(items(set_chimes), (std::vector<QString>{"No Chimes", "1 Note", "2 Notes", "3 Notes"}));
  EXPECT_EQ(combo(set_chimes)->currentIndex(), 3);
  EXPECT_FALSE(box(set_folder_enable)->isChecked());
  EXPECT_FALSE(edit(set_folder)->isEnabled());
  EXPECT_FALSE(box(set_logon_start)->isChecked());
  EXPECT_FALSE(box(set_service_start)->isEnabled());
  // Closing without a change stores what was there.
  const settings_block before = settings;
  ok();
  EXPECT_EQ(settings, before);
}

struct enable_case {
  int box;
  int combo;
  std::vector<int> levels;
  std::int8_t settings_block::*device;
};

TEST_F(SetDlgTest, DeviceBoxesDoNotToggleThemselvesAndGovernTheirListAndLevels) {
  const enable_case cases[] = {
      {set_fade_enable,
       set_fade_device,
       {set_fade_up, set_fade_down},
       &settings_block::music_device},
      {set_page_enable, set_page_device, {set_mic_level}, &settings_block::mic_device},
      {set_audition_enable, set_audition_device, {}, &settings_block::audition_device},
      {set_record_enable, set_record_device, {}, &settings_block::record_device},
  };
  for (const enable_case& c : cases) {
    settings.music_device = 1;
    settings.mic_device = 1;
    settings.audition_device = 1;
    settings.record_device = 0;
    open();
    ASSERT_TRUE(box(c.box)->isChecked()) << c.box;
    click(c.box);  // checked: off
    EXPECT_FALSE(box(c.box)->isChecked()) << c.box;
    EXPECT_FALSE(combo(c.combo)->isEnabled()) << c.box;
    for (int l : c.levels) EXPECT_FALSE(level(l)->isEnabled()) << c.box << " " << l;
    click(c.box);  // clear: on, with the first device
    EXPECT_TRUE(box(c.box)->isChecked()) << c.box;
    EXPECT_TRUE(combo(c.combo)->isEnabled()) << c.box;
    EXPECT_EQ(combo(c.combo)->currentIndex(), 0) << c.box;
    for (int l : c.levels) EXPECT_TRUE(level(l)->isEnabled()) << c.box << " " << l;
    ok();
    EXPECT_EQ(settings.*c.device, 0) << c.box;
    open();
    click(c.box);
    ok();
    EXPECT_EQ(settings.*c.device, -1) << c.box;
  }
}

TEST_F(SetDlgTest, WithoutMixerLinesEnablingFadeOrPageStoresNone) {
  devices.mixer_lines.clear();
  open();
  EXPECT_EQ(combo(set_fade_device)->count(), 0);
  EXPECT_EQ(combo(set_page_device)->count(), 0);
  click(set_fade_enable);
  click(set_page_enable);
  EXPECT_TRUE(box(set_fade_enable)->isChecked());
  EXPECT_EQ(combo(set_fade_device)->currentIndex(), -1);
  ok();
  EXPECT_EQ(settings.music_device, -1);
  EXPECT_EQ(settings.mic_device, -1);
}

TEST_F(SetDlgTest, AnUnpluggedDeviceShowsAsNotPresentAndIsKeptUnlessAnotherIsPicked) {
  settings.sound_out_device = 3;
  settings.music_device = 2;
  devices.wave_in.clear();  // the default record device 0 is not there either
  open();
  EXPECT_EQ(items(set_sound_out_device),
            (std::vector<QString>{"Card A", "Card B", "(not present)"}));
  EXPECT_EQ(combo(set_sound_out_device)->currentIndex(), 2);
  EXPECT_EQ(items(set_fade_device), (std::vector<QString>{"Line", "Mic", "(not present)"}));
  EXPECT_EQ(combo(set_fade_device)->currentIndex(), 2);
  EXPECT_EQ(items(set_page_device), (std::vector<QString>{"Line", "Mic"}));
  EXPECT_EQ(items(set_record_device), std::vector<QString>{"(not present)"});
  combo(set_fade_device)->setCurrentIndex(1);
  ok();
  EXPECT_EQ(settings.sound_out_device, 3);
  EXPECT_EQ(settings.music_device, 1);
  EXPECT_EQ(settings.record_device, 0);
}

TEST_F(SetDlgTest, BalancingChangesOnlyOnYesToItsQuestion) {
  open();
  answers = {box_answer::no};
  click(set_balanced);
  EXPECT_FALSE(box(set_balanced)->isChecked());
  answers = {box_answer::yes};
  click(set_balanced);
  EXPECT_TRUE(box(set_balanced)->isChecked());
  answers = {box_answer::no};
  click(set_balanced);
  EXPECT_TRUE(box(set_balanced)->isChecked());
  ASSERT_EQ(boxes.size(), 3u);
  for (const asked& a : boxes) {
    EXPECT_EQ(a.kind, box_kind::yes_no_warning);
    EXPECT_EQ(a.caption, "Warning");
  }
  EXPECT_EQ(boxes[0].text,
            "Are you sure you wish to turn balancing on?\r\rBalanced Output can only be used (1) "
            "with a Amplifier which supports balanced line input, and (2) if the Background "
            "Music Source and Paging Microphone are also connected as balanced inputs. For more "
            "information refer to the help screen.");
  EXPECT_EQ(boxes[1].text, boxes[0].text);
  EXPECT_EQ(boxes[2].text,
            "Are you sure you wish to turn balancing off?\r\rIf you are using a balanced "
            "connection to the amplifier and turn balancing off you will not hear your "
            "announcements!");
  ok();
  EXPECT_EQ(settings.balanced, 1);
}

TEST_F(SetDlgTest, TheTypedIntervalIsClampedAndAClearedBoxTurnsSequencePlayOff) {
  const std::pair<const char*, int> cases[] = {
      {"300", 255}, {"-5", 0}, {"abc", 0}, {"12", 12}, {"", 0}, {"7 mins", 7},
  };
  for (const auto& [text, stored] : cases) {
    settings.sequence_interval = 1;
    open();
    type(set_sequence_interval, text);
    ok();
    EXPECT_EQ(settings.sequence_interval, stored) << text;
  }
  settings.sequence_interval = 0;
  open();
  EXPECT_FALSE(box(set_sequence_enable)->isChecked());
  EXPECT_FALSE(edit(set_sequence_interval)->isEnabled());
  click(set_sequence_enable);
  EXPECT_TRUE(edit(set_sequence_interval)->isEnabled());
  type(set_sequence_interval, "30");
  click(set_sequence_enable);
  EXPECT_FALSE(edit(set_sequence_interval)->isEnabled());
  ok();
  EXPECT_EQ(settings.sequence_interval, 0);
}

TEST_F(SetDlgTest, EscapeStoresExactlyLikeOk) {
  for (const bool escape : {false, true}) {
    settings = settings_block{};
    open();
    level(set_announcement_level)->set_value(40);
    combo(set_sound_out_device)->setCurrentIndex(1);
    click(set_fade_enable);
    combo(set_fade_device)->setCurrentIndex(1);
    level(set_fade_down)->set_value(5);
    click(set_page_enable);
    level(set_mic_level)->set_value(70);
    click(set_audition_enable);
    combo(set_chimes)->setCurrentIndex(1);
    click(set_folder_enable);
    type(set_folder, "/srv/ctl");
    if (escape)
      QTest::keyClick(dlg.get(), Qt::Key_Escape);
    else
      ok();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(settings.announcement_level, 40) << escape;
    EXPECT_EQ(settings.sound_out_device, 1) << escape;
    EXPECT_EQ(settings.music_device, 1) << escape;
    EXPECT_EQ(settings.music_down_level, 5) << escape;
    EXPECT_EQ(settings.mic_device, 0) << escape;
    EXPECT_EQ(settings.mic_level, 70) << escape;
    EXPECT_EQ(settings.audition_device, -1) << escape;
    EXPECT_EQ(settings.record_device, 0) << escape;
    EXPECT_EQ(settings.chimes, 1) << escape;
    EXPECT_EQ(field_text(settings.control_folder), "/srv/ctl") << escape;
  }
}

TEST_F(SetDlgTest, TheControlFolderIsStoredAsTypedOrKeptByteForByte) {
  set_field_text(settings.control_folder, "/srv/caf\xe9");  // not UTF-8, from an older system
  open();
  EXPECT_TRUE(box(set_folder_enable)->isChecked());
  EXPECT_EQ(edit(set_folder)->text(), QString::fromUtf8("/srv/caf\xc3\xa9"));
  ok();
  EXPECT_EQ(field_text(settings.control_folder), "/srv/caf\xe9");
  open();
  type(set_folder, "ctl/../x");  // relative: stored as typed
  ok();
  EXPECT_EQ(field_text(settings.control_folder), "ctl/../x");
  open();
  type(set_folder, QString(300, 'a'));
  ok();
  EXPECT_EQ(field_text(settings.control_folder).size(), 259u);
  open();
  click(set_folder_enable);
  EXPECT_FALSE(edit(set_folder)->isEnabled());
  ok();
  EXPECT_EQ(field_text(settings.control_folder), "");
}

TEST_F(SetDlgTest, RunModeBoxesSwitchTheStartUpEntriesAtOnce) {
  open();
  click(set_logon_start);
  EXPECT_TRUE(registry.logon);
  EXPECT_TRUE(box(set_logon_start)->isChecked());
  EXPECT_TRUE(box(set_service_start)->isEnabled());
  EXPECT_FALSE(box(set_service_start)->isChecked());
  click(set_service_start);
  EXPECT_TRUE(registry.service);
  EXPECT_TRUE(box(set_service_start)->isChecked());
  click(set_service_start);
  EXPECT_FALSE(registry.service);
  click(set_service_start);
  registry.calls.clear();
  // Clearing the log-on start removes the service first.
  click(set_logon_start);
  EXPECT_EQ(registry.calls, (std::vector<std::string>{"service_uninstall", "logon_start_clear"}));
  EXPECT_FALSE(registry.logon);
  EXPECT_FALSE(registry.service);
  EXPECT_FALSE(box(set_service_start)->isChecked());
  EXPECT_FALSE(box(set_service_start)->isEnabled());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SetDlgTest, RunModeBoxesShowWhatTheRegistryHolds) {
  registry.logon = true;
  registry.service = true;
  open();
  EXPECT_TRUE(box(set_logon_start)->isChecked());
  EXPECT_TRUE(box(set_service_start)->isChecked());
  registry.fail_logon = true;
  registry.logon = false;
  dlg.reset();
  open();
  click(set_logon_start);  // the entry cannot be written: the box shows it is not there
  EXPECT_FALSE(box(set_logon_start)->isChecked());
  EXPECT_FALSE(box(set_service_start)->isEnabled());
  dlg.reset();
  open(false);
  EXPECT_FALSE(box(set_logon_start)->isEnabled());
  EXPECT_FALSE(box(set_service_start)->isEnabled());
}

TEST_F(SetDlgTest, AServiceThatCannotBeInstalledIsReported) {
  registry.logon = true;
  registry.fail_service = true;
  open();
  click(set_service_start);
  EXPECT_FALSE(box(set_service_start)->isChecked());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "");
  EXPECT_EQ(boxes[0].text, service_install_refused_text);
  EXPECT_TRUE(boxes[0].text.startsWith("To fully install this software as a service"));
}

TEST_F(SetDlgTest, HelpOpensContext103AndDayPartVolumeEditsTheSameTable) {
  open();
  click(set_help);
  EXPECT_EQ(helps, std::vector<int>{103});
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* day = qobject_cast<DayPartDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(day, nullptr);
    seen = true;
    QTest::mouseClick(day->control(day_add), Qt::LeftButton);
    QTest::mouseClick(day->control(day_music_down), Qt::LeftButton);
    QTest::mouseClick(day->control(day_help), Qt::LeftButton);
    QTest::keyClick(day, Qt::Key_Escape);
  });
  click(set_day_part);
  EXPECT_TRUE(seen);
  EXPECT_EQ(settings.day_part_count, 1);
  EXPECT_EQ(settings.day_parts[0].music_adjust, -1);
  EXPECT_EQ(helps, (std::vector<int>{103, 105}));
  EXPECT_TRUE(dlg->isVisible());
}

TEST_F(SetDlgTest, CustomerSetsTheOwnerBlockOnly) {
  open();
  const settings_block before = settings;
  QTimer::singleShot(0, [&] {
    auto* c = qobject_cast<customer_dlg*>(QApplication::activeModalWidget());
    ASSERT_NE(c, nullptr);
    auto* number = static_cast<QLineEdit*>(c->control(customer_number));
    number->selectAll();
    QTest::keyClicks(number, "4711");
    QTest::keyClicks(static_cast<QLineEdit*>(c->control(customer_text)), "Corner Shop");
    QTest::mouseClick(c->control(customer_ok), Qt::LeftButton);
  });
  click(set_customer);
  EXPECT_EQ(owner.customer_number(), 4711);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(owner.bytes.data()) + 4), "Corner Shop");
  EXPECT_EQ(settings, before);
}

}  // namespace
}  // namespace zta::ui
