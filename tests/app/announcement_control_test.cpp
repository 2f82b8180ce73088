// The main window's Announcement Control: opening the dialog, what the panel does afterwards, what
// waits while it is open, and a whole session on the simulated sound card: record from
// wave_in.wav, audition, rename, a fixed time, and the announcement playing by itself.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "app/main_frame.hpp"
#include "app/main_window.hpp"
#include "tests/app/app_test_env.hpp"
#include "tests/audio/recording_check.hpp"
#include "tests/ui/modal_driver.hpp"
#include "ui/edit_dlg.hpp"
#include "ui/lev_rect.hpp"
#include "ui/tod_dlg.hpp"

namespace zta::test {
namespace {

using namespace ui;
namespace fs = std::filesystem;

std::vector<std::int16_t> full_scale(std::size_t n) {
  std::vector<std::int16_t> s(n);
  for (std::size_t i = 0; i < n; ++i) s[i] = (i / 4) % 2 ? 32767 : -32768;
  return s;
}

class AnnouncementControl : public panel_fixture {};

TEST_F(AnnouncementControl, OpensAtTheSelectionAndThePanelIsFilledAgainAfterwards) {
  add_announcement("Opening", 0).id_stamp = 1001;
  add_announcement("Closing", 1).id_stamp = 1002;  // the panel finds it again by its identity
  add_announcement("Hidden", 2, false).id_stamp = 1003;
  temp_folder remote;
  ASSERT_EQ(ctx->remote.set_control_folder(ctx->st, remote.path()), folder_result::on);
  panel->fill_list();
  list()->setCurrentRow(1);
  int shown_row = -2;
  QString shown_name;
  when_modal<edit_dlg>([&](edit_dlg& d) {
    EXPECT_TRUE(panel->editing());
    shown_row = d.current_row();
    auto* name = qobject_cast<QLineEdit*>(d.control(ec_name));
    shown_name = name->text();
    name->selectAll();
    QTest::keyClicks(name, "Closing Soon");
    qobject_cast<QPushButton*>(d.control(ec_ok))->click();
  });
  QTest::mouseClick(button(id_announcement_control), Qt::LeftButton);
  EXPECT_TRUE(boxes.empty());  // no "not available yet"
  EXPECT_EQ(shown_row, 1);
  EXPECT_EQ(shown_name, "Closing");
  EXPECT_FALSE(panel->editing());
  ASSERT_EQ(list()->count(), 2);
  EXPECT_EQ(list()->item(1)->text(), "Closing Soon");
  EXPECT_EQ(list()->currentRow(), 1);
  EXPECT_TRUE(ctx->dirty());
  std::vector<std::uint8_t> listing;
  ASSERT_TRUE(read_whole_file(ctx->remote.listing_path(), listing));
  EXPECT_NE(std::string(listing.begin(), listing.end()).find("Closing Soon"), std::string::npos);
}

TEST_F(AnnouncementControl, AnEmptyPanelOpensTheDialogWithNothingShown) {
  int shown_row = -2;
  bool name_enabled = true;
  when_modal<edit_dlg>([&](edit_dlg& d) {
    shown_row = d.current_row();
    name_enabled = d.control(ec_name)->isEnabled();
    d.done(QDialog::Accepted);
  });
  panel->announcement_control();
  EXPECT_EQ(shown_row, -1);
  EXPECT_FALSE(name_enabled);
}

// A load would change the list under the dialog's rows: a handed-over file and the automatic
// update wait until it has closed. The file, a very loud WAV, then shows the same level warning
// as a recording does.
TEST_F(AnnouncementControl, LoadsWaitForTheDialogAndAWavShowsTheLevelWarning) {
  add_announcement("Opening", 0);
  dir.write("Loud.wav", pcm16_wav(22050, 1, full_scale(44100)));
  ctx->st.load_opts.method = load_method::file;
  ctx->st.load_opts.update_interval = 3600;
  ctx->st.load_opts.min_retry = 60;
  ctx->st.load_opts.last_success = ctx->st.load_opts.last_attempt = 0;
  set_field_text(ctx->st.load_opts.file_path, dir.file("Loud.wav"));
  panel->set_up(std::nullopt);
  panel->fill_list();
  int during = -1;
  when_modal<edit_dlg>([&](edit_dlg& d) {
    panel->open_command(dir.file("Loud.wav"));
    panel->timers().fire(2);
    during = ctx->st.content.list.count();
    d.done(QDialog::Accepted);
  });
  panel->announcement_control();
  EXPECT_EQ(during, 1);
  // Closed: the handed-over file is loaded now.
  ASSERT_EQ(ctx->st.content.list.count(), 2);
  EXPECT_EQ(ctx->st.content.list[1].name_text(), "Loud");
  EXPECT_TRUE(valid_clip(ctx->st.content.list[1].clip));
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes[0].kind, box_kind::ok_plain);
  EXPECT_EQ(boxes[0].caption, "Record Level Warning");
  // And the update runs at its next check.
  panel->timers().fire(2);
  EXPECT_EQ(ctx->st.content.list.count(), 3);
}

// The whole of it on the simulated sound card, as a user would do it.
class SimulatedSession : public ::testing::Test {
 protected:
  void SetUp() override {
    tone = steady_tone(3 * 22050);
    ctx = simulated_context(dir, "card", 20, date_order::day_month_year, &clock);
    dir.write("card/wave_in.wav", pcm16_wav(22050, 1, tone));
    frame = std::make_unique<main_frame>(
        *ctx, [this](QWidget*, box_kind, const QString& caption, const QString& text) {
          boxes.push_back(caption + ": " + text);
          return box_answer::ok;
        });
    panel = frame->client();
  }
  void TearDown() override {
    frame.reset();
    ctx.reset();
  }
  std::vector<std::uint8_t> wav_data(const std::string& name) const {
    auto b = dir.read("card/" + name);
    return b.size() > 44 ? std::vector<std::uint8_t>(b.begin() + 44, b.end())
                         : std::vector<std::uint8_t>{};
  }

  temp_folder dir;
  std::vector<std::int16_t> tone;
  fixed_wall_clock* clock = nullptr;
  std::unique_ptr<app_context> ctx;
  std::unique_ptr<main_frame> frame;
  main_window* panel = nullptr;
  std::vector<QString> boxes;
};

TEST_F(SimulatedSession, RecordAuditionRenameScheduleAndItPlaysByItself) {
  panel->set_up(std::nullopt);
  EXPECT_EQ(ctx->st.order, date_order::day_month_year);  // from the locale, at start
  ctx->st.settings.chimes = 0;
  std::vector<std::uint8_t> clip;
  when_modal<edit_dlg>([&](edit_dlg& d) {
    auto click = [&](int id) { qobject_cast<QAbstractButton*>(d.control(id))->click(); };
    click(ec_new_record);
    ASSERT_EQ(d.audio().mode(), edit_audio_mode::recording);
    // The whole of wave_in.wav and then silence, at twenty times the audio rate: the meter shows
    // the tone, then the empty input.
    auto* meter = qobject_cast<lev_rect*>(d.control(ec_level));
    bool heard_tone = false;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          heard_tone |= meter->level() > -20;
          return heard_tone && meter->level() <= -37;
        },
        20000));
    click(ec_stop);  // "Process for Telephone" runs here
    ASSERT_EQ(d.audio().mode(), edit_audio_mode::idle);
    const ann_blk& made = ctx->st.content.list[0];
    ASSERT_TRUE(valid_clip(made.clip));
    ASSERT_TRUE(read_whole_file(clip_path(ctx->st, made.clip), clip));

    click(ec_play);
    ASSERT_EQ(d.audio().mode(), edit_audio_mode::auditioning);
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.audio().mode() == edit_audio_mode::idle; }, 10000));

    auto* name = qobject_cast<QLineEdit*>(d.control(ec_name));
    name->selectAll();
    QTest::keyClicks(name, "Closing Time");
    click(ec_sequence);  // not in sequence: only at its time
    when_modal<tod_dlg>([](tod_dlg& t) {
      t.edit()->selectAll();
      QTest::keyClicks(t.edit(), "12:30");
      t.accept();
    });
    click(ec_add_time);
    click(ec_ok);
  });
  QTest::mouseClick(static_cast<QPushButton*>(panel->control(id_announcement_control)),
                    Qt::LeftButton);
  EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].toStdString());

  ASSERT_EQ(ctx->st.content.list.count(), 1);
  const ann_blk& a = ctx->st.content.list[0];
  EXPECT_EQ(a.name_text(), "Closing Time");
  EXPECT_EQ(a.fixed_times, std::vector<std::int32_t>{12 * 3600 + 30 * 60});
  EXPECT_EQ(a.autoplay, 0);
  // The recording is the processing of what the card heard: the file, then silence. The import
  // of the file with a second of silence after it gives the same clip up to its end.
  std::vector<std::int16_t> heard = tone;
  heard.resize(tone.size() + 22050, 0);
  const auto expected = import_of(heard);
  EXPECT_EQ(a.id_serial, expected.length);
  const std::size_t both = std::min(clip.size(), expected.clip.size());
  ASSERT_GE(both, 2u * static_cast<std::size_t>(a.id_serial));
  EXPECT_TRUE(
      std::equal(clip.begin(), clip.begin() + static_cast<long>(both), expected.clip.begin()));
  // The audition device played the clip, the PA output nothing yet.
  EXPECT_TRUE(wav_data("audition-1ch.wav") == clip);
  EXPECT_TRUE(wav_data("wave_out-1ch.wav").empty());
  auto* panel_list = static_cast<QListWidget*>(panel->control(id_list));
  ASSERT_EQ(panel_list->count(), 1);
  EXPECT_EQ(panel_list->item(0)->text(), "Closing Time");

  clock->set(wednesday_noon() + 29 * 60 + 58);
  panel->timers().fire(1);
  EXPECT_FALSE(ctx->player.is_open());
  clock->advance(3);  // 12:30:01
  panel->timers().fire(1);
  EXPECT_TRUE(ctx->player.is_open());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !ctx->player.is_open(); }, 20000));
  const auto played = wav_data("wave_out-1ch.wav");
  ASSERT_GE(played.size(), 2u * static_cast<std::size_t>(a.id_serial));
  EXPECT_TRUE(std::equal(clip.begin(), clip.begin() + 2 * a.id_serial, played.begin()));
}

}  // namespace
}  // namespace zta::test
