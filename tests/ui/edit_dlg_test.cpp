// The Announcement Control dialog driven as a user would: what it shows, when edits reach the
// records, the autoplay and fixed-time controls, Up and Down, and the audio buttons with their
// message boxes, on the test devices.
#include "ui/edit_dlg.hpp"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QTest>

#include "announcements/calendar.hpp"
#include "tests/ui/edit_dlg_fixture.hpp"
#include "tests/ui/modal_driver.hpp"
#include "ui/glyph_button.hpp"
#include "ui/lev_rect.hpp"
#include "ui/recproc_dlg.hpp"
#include "ui/tod_dlg.hpp"

namespace zta::test {
namespace {

using namespace ui;

class EditDlg : public edit_dlg_fixture {
 protected:
  void type(int id, const QString& text) {
    QLineEdit* e = edit(id);
    e->selectAll();
    QTest::keyClicks(e, text);
  }
  // The next Enter Autoplay Time dialog gets `text` and OK (or Cancel when none).
  static void answer_time(const std::optional<QString>& text) {
    when_modal<tod_dlg>([text](tod_dlg& d) {
      if (!text) {
        d.reject();
        return;
      }
      d.edit()->selectAll();
      QTest::keyClicks(d.edit(), *text);
      d.accept();
    });
  }
  void add_time(const QString& text) {
    answer_time(text);
    button(ec_add_time)->click();
  }
};

const int editing_ids[] = {
    ec_name,        ec_commence_date, ec_commence_time, ec_expiry_date, ec_expiry_time, ec_day_from,
    ec_day_to,      ec_fixed_times,   ec_add_time,      ec_delete_time, ec_every,       ec_minutes,
    ec_sequence,    ec_chimes,        ec_confirm,       ec_manual,      ec_script,      ec_play,
    ec_record_over, ec_delete,        ec_mon,           ec_mon + 3,     ec_sun};

TEST_F(EditDlg, NoSelectionDisablesTheEditorAndASelectionEnablesAll) {
  add("Opening", 0);
  add("Closing", 1);
  open(-1);
  EXPECT_EQ(dlg->windowTitle(), "Announcement Control");
  EXPECT_EQ(row_texts(), (std::vector<std::string>{"Opening", "Closing"}));
  EXPECT_EQ(dlg->current_row(), -1);
  for (int id : editing_ids) EXPECT_FALSE(dlg->control(id)->isEnabled()) << id;
  EXPECT_FALSE(button(ec_stop)->isEnabled());
  for (int id : {ec_new_record, ec_new_wavs, ec_up, ec_down, ec_print, ec_help, ec_ok})
    EXPECT_TRUE(dlg->control(id)->isEnabled()) << id;
  EXPECT_EQ(edit(ec_name)->text(), "");
  select(1);
  for (int id : editing_ids) {
    if (id != ec_minutes) {
      EXPECT_TRUE(dlg->control(id)->isEnabled()) << id;
    }
  }
  EXPECT_FALSE(edit(ec_minutes)->isEnabled());  // no every-N-minutes start
  EXPECT_FALSE(button(ec_stop)->isEnabled());
  EXPECT_EQ(edit(ec_name)->text(), "Closing");
}

TEST_F(EditDlg, ControlsCarryTheirTexts) {
  add("Opening", 0);
  open(0);
  const std::pair<int, const char*> texts[] = {
      {ec_play, "&Play"},
      {ec_stop, "Stop"},
      {ec_record_over, "&Record Over"},
      {ec_new_record, "&New Record"},
      {ec_new_wavs, "New &Wav(s)"},
      {ec_delete, "Delete"},
      {ec_up, "Up"},
      {ec_down, "Down"},
      {ec_chimes, "Play with Chimes"},
      {ec_confirm, "Confirm before Playing Announcement"},
      {ec_manual, "Manual Play (list in Main Window)"},
      {ec_add_time, "Add Fixed Time"},
      {ec_delete_time, "Delete Time"},
      {ec_every, "Autoplay every (minutes)"},
      {ec_sequence, "Autoplay in Sequence"},
      {ec_print, "Print &Script"},
      {ec_mon, "Mon"},
      {ec_sun, "Sun"},
      {ec_help, "&Help"},
      {ec_ok, "OK"},
  };
  for (const auto& [id, text] : texts) {
    auto* b = qobject_cast<QAbstractButton*>(dlg->control(id));
    ASSERT_NE(b, nullptr) << id;
    EXPECT_EQ(b->text(), text) << id;
  }
  EXPECT_NE(qobject_cast<TGlyphButton*>(dlg->control(ec_play)), nullptr);
  EXPECT_EQ(qobject_cast<TGlyphButton*>(dlg->control(ec_record_over))->bitmap().number(), 2);
  EXPECT_EQ(qobject_cast<TGlyphButton*>(dlg->control(ec_stop))->bitmap().number(), 8);
  EXPECT_NE(qobject_cast<lev_rect*>(dlg->control(ec_level)), nullptr);
}

TEST_F(EditDlg, ShowsTheRecordInTheTextForms) {
  ann_blk& a = add("Opening", 0);
  a.commence = 0;
  a.expiry = *make_moment({2024, 3, 31, 18, 0, 0, 0});
  a.day_from = 9 * 3600;
  a.day_to = 86400;
  a.weekdays = 0x3E;  // Monday to Friday
  a.autoplay = 30;
  a.chimes = 1;
  a.fixed_times = {15 * 3600, 9 * 3600};
  a.script = "Good morning.\r\nWe are open.";
  st.order = date_order::day_month_year;
  open(0);
  EXPECT_EQ(edit(ec_commence_date)->text(), "IMMEDIATE");
  EXPECT_EQ(edit(ec_commence_time)->text(), "");
  EXPECT_EQ(edit(ec_expiry_date)->text(), "31/3/24");
  EXPECT_EQ(edit(ec_expiry_time)->text(), "18:00:00");
  EXPECT_EQ(edit(ec_day_from)->text(), "09:00:00");
  EXPECT_EQ(edit(ec_day_to)->text(), "24:00:00");
  for (int d = 0; d < 7; ++d) EXPECT_EQ(box(ec_mon + d)->isChecked(), d < 5) << d;
  EXPECT_TRUE(box(ec_every)->isChecked());
  EXPECT_EQ(edit(ec_minutes)->text(), "30");
  EXPECT_FALSE(box(ec_sequence)->isChecked());
  EXPECT_TRUE(box(ec_chimes)->isChecked());
  EXPECT_EQ(time_texts(), (std::vector<std::string>{"09:00:00", "15:00:00"}));
  EXPECT_EQ(get<QPlainTextEdit>(ec_script)->toPlainText(), "Good morning.\nWe are open.");
}

TEST_F(EditDlg, ANameIsStoredCutToThirtyOnlyWhenTheEditsAreStored) {
  add("Opening", 0);
  add("Closing", 1);
  open(0);
  dlg->show();
  type(ec_name, QString(31, u'N'));
  EXPECT_EQ(row_texts()[0], "Opening");
  EXPECT_EQ(st.content.list[0].name_text(), "Opening");
  select(1);
  EXPECT_EQ(st.content.list[0].name_text(), std::string(30, 'N'));
  EXPECT_EQ(row_texts()[0], std::string(30, 'N'));
  EXPECT_EQ(edit(ec_name)->text(), "Closing");
}

TEST_F(EditDlg, UntouchedMomentsStayAndATypedTimeBesideImmediateLandsIn1970) {
  add("Opening", 0).commence = 0;
  add("Closing", 1).commence = 0;
  open(0);
  dlg->show();
  select(1);
  select(0);
  EXPECT_EQ(st.content.list[0].commence, 0);  // "IMMEDIATE" was not re-read
  EXPECT_EQ(st.content.list[0].expiry, moment_never);
  type(ec_commence_time, QStringLiteral("8:15"));
  type(ec_day_to, QStringLiteral("24:00:00"));
  select(1);
  EXPECT_EQ(st.content.list[0].commence, 8 * 3600 + 15 * 60);
  EXPECT_EQ(st.content.list[0].day_to, 86400);
  select(0);
  EXPECT_EQ(edit(ec_commence_date)->text(), "1/1/70");
  EXPECT_EQ(edit(ec_commence_time)->text(), "08:15:00");
  EXPECT_EQ(edit(ec_day_to)->text(), "24:00:00");
}

TEST_F(EditDlg, AutoplayBoxesAreAThreeWayChoiceWrittenAtOnce) {
  add("Opening", 0).autoplay = 0;
  add("Closing", 1);
  open(0);
  dlg->show();
  ann_blk& a = st.content.list[0];
  box(ec_every)->click();  // minutes empty: 60
  EXPECT_EQ(a.autoplay, 60);
  EXPECT_EQ(edit(ec_minutes)->text(), "60");
  EXPECT_TRUE(edit(ec_minutes)->isEnabled());
  EXPECT_TRUE(box(ec_every)->isChecked());
  box(ec_sequence)->click();
  EXPECT_EQ(a.autoplay, -1);
  EXPECT_FALSE(box(ec_every)->isChecked());
  EXPECT_FALSE(edit(ec_minutes)->isEnabled());
  EXPECT_TRUE(box(ec_sequence)->isChecked());
  box(ec_sequence)->click();
  EXPECT_EQ(a.autoplay, 0);
  EXPECT_FALSE(box(ec_sequence)->isChecked());
  // 0 typed with the every box checked: no periodic start once stored.
  box(ec_every)->click();
  type(ec_minutes, QStringLiteral("0"));
  EXPECT_EQ(a.autoplay, 60);
  select(1);
  EXPECT_EQ(a.autoplay, 0);
  select(0);
  EXPECT_FALSE(box(ec_every)->isChecked());
}

TEST_F(EditDlg, UpAndDownExchangeWholeRecords) {
  add("First", 0).script = "one";
  add("Second", 1).fixed_times = {3600};
  add("Third", 2);
  open(0);
  dlg->show();
  button(ec_up)->click();  // the first row: nothing
  EXPECT_EQ(row_texts(), (std::vector<std::string>{"First", "Second", "Third"}));
  select(2);
  button(ec_down)->click();  // the last row: nothing
  EXPECT_EQ(st.content.list[2].name_text(), "Third");
  select(1);
  type(ec_name, QStringLiteral("Renamed"));  // pending: goes with the record
  button(ec_up)->click();
  EXPECT_EQ(row_texts(), (std::vector<std::string>{"Second", "First", "Third"}));
  EXPECT_EQ(dlg->current_row(), 0);
  EXPECT_EQ(list()->currentRow(), 0);
  EXPECT_EQ(st.content.list[0].name_text(), "Second");
  EXPECT_EQ(st.content.list[0].fixed_times, std::vector<std::int32_t>{3600});
  EXPECT_EQ(st.content.list[0].clip, 1);
  EXPECT_EQ(st.content.list[1].script, "one");
  EXPECT_EQ(edit(ec_name)->text(), "Renamed");
  button(ec_down)->click();
  button(ec_down)->click();
  EXPECT_EQ(row_texts(), (std::vector<std::string>{"First", "Third", "Second"}));
  select(0);
  EXPECT_EQ(st.content.list[2].name_text(), "Renamed");
}

TEST_F(EditDlg, FixedTimesThroughTheTimeDialog) {
  add("Opening", 0);
  open(0);
  dlg->show();
  add_time(QStringLiteral("15:00:00"));
  add_time(QStringLiteral("09:00:00"));
  EXPECT_EQ(time_texts(), (std::vector<std::string>{"09:00:00", "15:00:00"}));
  EXPECT_EQ(st.content.list[0].fixed_times, (std::vector<std::int32_t>{54000, 32400}));
  times()->setCurrentRow(0);
  button(ec_delete_time)->click();
  EXPECT_EQ(time_texts(), std::vector<std::string>{"15:00:00"});
  EXPECT_EQ(st.content.list[0].fixed_times, std::vector<std::int32_t>{54000});
  add_time(QStringLiteral("7:05"));
  add_time(QStringLiteral("7:05"));
  EXPECT_EQ(time_texts(), (std::vector<std::string>{"07:05:00", "07:05:00", "15:00:00"}));
  EXPECT_EQ(st.content.list[0].fixed_times, (std::vector<std::int32_t>{54000, 25500, 25500}));
  answer_time(std::nullopt);  // cancelled: nothing added
  button(ec_add_time)->click();
  EXPECT_EQ(st.content.list[0].fixed_times.size(), 3u);
  add_time(QString());  // empty: midnight
  EXPECT_EQ(st.content.list[0].fixed_times.back(), 0);
  // A double click edits the entry the row was made from, in its stored place.
  times()->setCurrentRow(3);  // 15:00:00, stored first
  answer_time(QStringLiteral("16:30"));
  emit times()->itemDoubleClicked(times()->item(3));
  EXPECT_EQ(st.content.list[0].fixed_times, (std::vector<std::int32_t>{59400, 25500, 25500, 0}));
  times()->clearSelection();
  times()->setCurrentRow(-1);
  button(ec_delete_time)->click();  // no row: nothing
  EXPECT_EQ(st.content.list[0].fixed_times.size(), 4u);
}

TEST_F(EditDlg, TimesThatNeverPlayAreMarkedAndAnEmptyScheduleIsSaidSo) {
  ann_blk& a = add("Closing", 0);
  a.day_from = 10 * 3600;
  a.day_to = 16 * 3600;
  a.fixed_times = {16 * 3600, 12 * 3600};
  open(0);
  dlg->show();
  ASSERT_EQ(time_texts(), (std::vector<std::string>{"12:00:00", "16:00:00"}));
  EXPECT_EQ(times()->item(0)->toolTip(), "");
  EXPECT_EQ(times()->item(1)->toolTip(),
            "Outside the time of day 10:00:00 to 16:00:00: this time never plays.");
  EXPECT_NE(times()->item(1)->foreground().color(), times()->item(0)->foreground().color());
  for (int d = 0; d < 7; ++d) box(ec_mon + d)->click();  // no weekday left
  const auto labels = dlg->findChildren<QLabel*>();
  const auto shows = [&](const QString& text) {
    for (QLabel* l : labels)
      if (l->isVisible() && l->text().contains(text)) return true;
    return false;
  };
  EXPECT_TRUE(shows(QStringLiteral("No weekday is ticked")));
  type(ec_day_to, QStringLiteral("17:00"));  // typed, not stored: the marks follow the typing
  EXPECT_EQ(times()->item(1)->toolTip(), "");
  type(ec_day_from, QStringLiteral("17:00"));
  EXPECT_TRUE(shows(QStringLiteral("From equals To")));
  // Nothing was changed by the notes.
  EXPECT_EQ(a.day_to, 16 * 3600);
  EXPECT_EQ(a.fixed_times.size(), 2u);
}

TEST_F(EditDlg, AScriptLongerThanTheFileHoldsIsCutWhereTheUserSeesIt) {
  add("Opening", 0);
  add("Closing", 1);
  open(0);
  dlg->show();
  auto* script = get<QPlainTextEdit>(ec_script);
  script->setFocus();
  script->insertPlainText(QString(70000, u's'));
  EXPECT_EQ(script->toPlainText().size(), 65535);
  const auto labels = dlg->findChildren<QLabel*>();
  bool said = false;
  for (QLabel* l : labels) said |= l->isVisible() && l->text() == script_limit_note;
  EXPECT_TRUE(said);
  select(1);
  EXPECT_EQ(st.content.list[0].script.size(), 65535u);
}

struct box_case {
  const char* name;
  int button;
  int record_device;
  int audition_device;
  bool user_made;
  bool fail_open;
  const char* caption;
  const char* text;
};

TEST_F(EditDlg, EveryMessageBoxOfRecordingAndAudition) {
  const box_case cases[] = {
      {"recording disabled", ec_record_over, -1, 0, true, false, "Record Function Disabled",
       "The recording function is disabled or not available.\r\n\r\nPlease refer to the Settings "
       "option - User Record Device."},
      {"pre-recorded", ec_record_over, 0, 0, false, false, "Record Protected",
       "You cannot record over a pre-recorded message.\r\n\r\nUse the New Message option to "
       "create a new message."},
      {"wave-in does not open", ec_record_over, 0, 0, true, true, "Record Fail",
       "Unable to open wave in device.\r\n\r\nPlease check that you have selected your sound card "
       "using the Settings option - User Record Device."},
      {"audition disabled", ec_play, 0, -1, true, false, "Play Function Disabled",
       "The play function is disabled or not available.\r\n\r\nPlease refer to the Settings "
       "option - Audition Play Device."},
      {"wave-out does not open", ec_play, 0, 0, true, true, "Play Fail",
       "Unable to open wave out device.\r\n\r\nPlease check that you have selected your sound "
       "card using the Settings option - Audition Play Device."},
  };
  add("Opening", 0);
  open(0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.clear();
    st.settings.record_device = static_cast<std::int8_t>(c.record_device);
    st.settings.audition_device = static_cast<std::int8_t>(c.audition_device);
    st.content.list[0].user_made = c.user_made ? 1 : 0;
    in.fail_open = out.fail_open = c.fail_open;
    button(c.button)->click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, box_kind::ok_warning);
    EXPECT_EQ(boxes[0].caption, c.caption);
    EXPECT_EQ(boxes[0].text, c.text);
    EXPECT_EQ(dlg->audio().mode(), edit_audio_mode::idle);
    EXPECT_FALSE(button(ec_stop)->isEnabled());
  }
}

TEST_F(EditDlg, NewRecordNamesAfterTheTimeOfDayAndRecords) {
  add("Opening", 0);
  clock.set(*make_moment({2024, 3, 6, 9, 7, 3, 0}));
  open(0);
  dlg->show();
  button(ec_new_record)->click();
  ASSERT_EQ(st.content.list.count(), 2);
  EXPECT_EQ(st.content.list[1].name_text(), "User Message 090703");
  EXPECT_EQ(st.content.list[1].user_made, 1);
  EXPECT_EQ(row_texts().back(), "User Message 090703");  // listed without sound while selected
  EXPECT_EQ(list()->currentRow(), 1);
  EXPECT_EQ(dlg->audio().mode(), edit_audio_mode::recording);
  EXPECT_EQ(dlg->audio().record_target(), 1);
  EXPECT_TRUE(button(ec_stop)->isEnabled());
  EXPECT_EQ(dlg->focusWidget(), button(ec_stop));
  EXPECT_EQ(in.queued(), 14u);
}

TEST_F(EditDlg, ANewRecordThatCannotRecordStaysUntilTheNextRebuild) {
  add("Opening", 0);
  st.settings.record_device = -1;
  open(0);
  button(ec_new_record)->click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Record Function Disabled");
  EXPECT_EQ(row_texts().size(), 2u);
  EXPECT_EQ(list()->currentRow(), 1);
  dlg->build_list(0);
  EXPECT_EQ(row_texts(), std::vector<std::string>{"Opening"});
  // Its place is taken by the next new announcement.
  st.settings.record_device = 0;
  button(ec_new_record)->click();
  EXPECT_EQ(st.content.list.count(), 2);
}

class EditDlgRecording : public EditDlg {
 protected:
  void start_recording(int blocks) {
    add("Mine", -1);
    add("Other", 0);
    in.input = sample_bytes(steady_tone(40 * 2048));
    in.input_pos = 0;
    open(0);
    dlg->show();
    button(ec_record_over)->click();
    ASSERT_EQ(dlg->audio().mode(), edit_audio_mode::recording);
    for (int i = 0; i < blocks; ++i) ASSERT_TRUE(in.fill_next());
    EXPECT_GT(get<lev_rect>(ec_level)->level(), -40);  // the meter shows the blocks
  }
};

TEST_F(EditDlgRecording, EscStopsAndProcessesTheRecordingAndKeepsTheDialog) {
  start_recording(20);
  QTest::keyClick(dlg.get(), Qt::Key_Escape);
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(dlg->audio().mode(), edit_audio_mode::idle);
  EXPECT_TRUE(valid_clip(st.content.list[0].clip));
  EXPECT_GT(st.content.list[0].id_serial, 0);
  EXPECT_EQ(get<lev_rect>(ec_level)->level(), -40);
  EXPECT_FALSE(button(ec_stop)->isEnabled());
  EXPECT_EQ(dlg->focusWidget(), button(ec_play));
  QTest::keyClick(dlg.get(), Qt::Key_Escape);  // nothing to stop: still open
  EXPECT_TRUE(dlg->isVisible());
}

// However the dialog goes, a recording in progress is processed and saved, once.
TEST_F(EditDlgRecording, ClosingAnyWayProcessesTheRecordingOnce) {
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"OK", [this] { button(ec_ok)->click(); }},
      {"close box", [this] { dlg->close(); }},
      {"destroyed unclosed", [this] { dlg.reset(); }},
  };
  for (const auto& [name, close] : ways) {
    SCOPED_TRACE(name);
    st.content.list.clear();
    st.clip_use.fill(0);
    start_recording(20);
    type(ec_name, QStringLiteral("Kept"));
    close();
    if (dlg) {
      EXPECT_FALSE(dlg->isVisible());
      dlg.reset();
    }
    EXPECT_EQ(st.content.list[0].name_text(), "Kept");  // stored first
    EXPECT_TRUE(valid_clip(st.content.list[0].clip));
    EXPECT_EQ(clips_allocated(), 2);  // the other's clip and the one new clip
    EXPECT_FALSE(in.is_open());
  }
}

TEST_F(EditDlg, AuditionEndsByItselfAndGivesTheFocusBack) {
  add("Opening", 0, true, 3 * 8192);
  open(0);
  dlg->show();
  button(ec_play)->click();
  ASSERT_EQ(dlg->audio().mode(), edit_audio_mode::auditioning);
  EXPECT_TRUE(button(ec_stop)->isEnabled());
  EXPECT_EQ(dlg->focusWidget(), button(ec_stop));
  out.complete_all();
  EXPECT_EQ(dlg->audio().mode(), edit_audio_mode::idle);
  EXPECT_FALSE(button(ec_stop)->isEnabled());
  EXPECT_EQ(dlg->focusWidget(), button(ec_play));
  EXPECT_EQ(out.written.size(), 3u * 8192);
  // Stop ends an audition at once.
  button(ec_play)->click();
  button(ec_stop)->click();
  EXPECT_EQ(dlg->audio().mode(), edit_audio_mode::idle);
  EXPECT_FALSE(out.is_open());
}

struct delete_case {
  const char* name;
  bool user_made;
  std::vector<box_answer> answers;
  int row;
  bool asked;
  std::vector<std::string> rows_after;
  int selected_after;
};

TEST_F(EditDlg, DeleteAsksOnlyForPreRecordedAnnouncements) {
  const delete_case cases[] = {
      {"user-made", true, {}, 1, false, {"A", "C"}, 0},
      {"pre-recorded, cancelled", false, {box_answer::cancel}, 1, true, {"A", "B", "C"}, 1},
      {"pre-recorded, OK", false, {box_answer::ok}, 1, true, {"A", "C"}, 0},
      {"the first row", true, {}, 0, false, {"B", "C"}, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    st.content.list.clear();
    boxes.clear();
    answers = c.answers;
    add("A", 0);
    add("B", 1, c.user_made);
    add("C", 2);
    open(c.row);
    button(ec_delete)->click();
    EXPECT_EQ(!boxes.empty(), c.asked);
    if (!boxes.empty()) {
      EXPECT_EQ(boxes[0].kind, box_kind::ok_cancel_warning);
      EXPECT_EQ(boxes[0].caption, "Confirm Delete Announcement");
      EXPECT_EQ(boxes[0].text,
                "Are you sure you want to delete this pre-recorded announcement.\n\r\n\rTo simple "
                "stop the message playing in sequence, simply uncheck the Play in Sequence "
                "option.");
    }
    EXPECT_EQ(row_texts(), c.rows_after);
    EXPECT_EQ(list()->currentRow(), c.selected_after);
  }
}

TEST_F(EditDlg, HelpOpensTheManualAtItsContext) {
  add("Opening", 0);
  open(0);
  button(ec_help)->click();
  EXPECT_EQ(helped, std::vector<int>{104});
}

TEST_F(EditDlg, NewWavsImportsEachFileAndShowsTheLevelWarning) {
  temp_folder src;
  std::vector<std::int16_t> loud(44100);
  for (std::size_t i = 0; i < loud.size(); ++i) loud[i] = (i / 4) % 2 ? 32767 : -32768;
  src.write("Store Closing.wav", pcm16_wav(22050, 1, steady_tone(22050)));
  src.write("Loud.wav", pcm16_wav(22050, 1, loud));
  wav_files = {QString::fromStdString(src.file("Store Closing.wav")),
               QString::fromStdString(src.file("Loud.wav"))};
  add("Opening", 0);
  open(0);
  button(ec_new_wavs)->click();
  EXPECT_EQ(row_texts(), (std::vector<std::string>{"Opening", "Store Closing", "Loud"}));
  EXPECT_EQ(list()->currentRow(), 2);
  EXPECT_TRUE(valid_clip(st.content.list[1].clip));
  EXPECT_TRUE(valid_clip(st.content.list[2].clip));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, box_kind::ok_plain);
  EXPECT_EQ(boxes[0].caption, "Record Level Warning");
  EXPECT_TRUE(boxes[0].text.startsWith("The record level is very high."));
}

TEST_F(EditDlg, TheWavFileDialogStartsInTheWorkingFolderAndLeavesIt) {
  const QString before = QDir::currentPath();
  QString title, folder;
  QStringList filters;
  bool several = false;
  when_modal<QFileDialog>([&](QFileDialog& d) {
    title = d.windowTitle();
    folder = d.directory().absolutePath();
    filters = d.nameFilters();
    several = d.fileMode() == QFileDialog::ExistingFiles;
    d.reject();
  });
  EXPECT_TRUE(choose_wav_files(nullptr).isEmpty());
  EXPECT_EQ(title, "Add Wave File(s)");
  EXPECT_EQ(folder, QDir(before).absolutePath());
  EXPECT_EQ(filters, QStringList{"Wave Audio Files (*.wav)"});
  EXPECT_TRUE(several);
  EXPECT_EQ(QDir::currentPath(), before);
}

}  // namespace
}  // namespace zta::test
