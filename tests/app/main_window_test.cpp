#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "announcements/settings_store.hpp"
#include "app/main_frame.hpp"
#include "app/main_window.hpp"
#include "base/byte_codec.hpp"
#include "tests/app/app_test_env.hpp"
#include "ui/page_glyph.hpp"

namespace zta::test {
namespace {

class PanelTest : public panel_fixture {
 protected:
  void key(int k, QWidget* to = nullptr) {
    QTest::keyClick(to != nullptr ? to : list(), static_cast<Qt::Key>(k));
    settle();
  }
  // Lets posted events, and what they post in turn, arrive.
  static void settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  }
  // Runs the loop until it has waited (gone idle) for a moment.
  static void run_idle(int ms = 50) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  }
  // Counts the times the page microphone line was opened (set to a level above 0).
  int mic_openings() const {
    int n = 0;
    for (auto [line, word] : mixer->history)
      if (line == 1 && word != 0) ++n;
    return n;
  }
};

TEST_F(PanelTest, ControlsCarryTheirTextsAndThePanelItsSize) {
  EXPECT_EQ(frame->windowTitle(), "ZTA Announcement Player");
  EXPECT_FALSE(frame->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(button(id_play)->text(), "&Play Announcement");
  EXPECT_EQ(button(id_stop)->text(), "Stop");
  EXPECT_EQ(button(id_load)->text(), "&Load");
  EXPECT_EQ(button(id_announcement_control)->text(), "A&nnouncement Control");
  EXPECT_EQ(button(id_settings)->text(), "Se&ttings");
  EXPECT_EQ(button(id_help)->text(), "&Help");
  EXPECT_EQ(button(id_close)->text(), "&Close");
  EXPECT_EQ(button(id_page)->text(), "&Microphone Page");
  // Buttons stacked 18 dialog units apart, the panel square.
  EXPECT_LT(button(id_play)->geometry().bottom(), button(id_stop)->geometry().top());
  // Dialog units: the button column starts at x 100 of 226, the page button at y 182 of 226.
  EXPECT_NEAR(button(id_play)->x() * 226.0 / panel->width(), 100, 1.5);
  EXPECT_NEAR(button(id_page)->y() * 226.0 / panel->height(), 182, 1.5);
  EXPECT_EQ(frame->size(), panel->size());
}

TEST_F(PanelTest, TooltipsAreSetAfterSetUp) {
  panel->set_up(std::nullopt);
  EXPECT_EQ(button(id_play)->toolTip(), "Play Selected Announcement");
  EXPECT_EQ(button(id_close)->toolTip(), "Close this box and continue to autoplay announcements");
  EXPECT_EQ(list()->toolTip(), "Double click to Play Announcement");
}

TEST_F(PanelTest, ListShowsManualAnnouncementsWithSoundInStoredOrder) {
  add_announcement("Opening", 0);
  add_announcement("Not by hand", 1, false);
  add_announcement("No sound", -1);
  ann_blk& expired = add_announcement("Expired", 2);
  expired.expiry = wednesday_noon() - 1;  // out of its window: still listed
  expired.script = "Old offer";
  add_announcement("Closing", 3);
  ctx->st.content.list[0].script = "We are open";
  panel->fill_list();
  ASSERT_EQ(panel->list_count(), 3);
  EXPECT_EQ(list()->item(0)->text(), "Opening");
  EXPECT_EQ(list()->item(1)->text(), "Expired");
  EXPECT_EQ(list()->item(2)->text(), "Closing");
  EXPECT_EQ(panel->list_index(1), 3);
  EXPECT_EQ(panel->list_index(2), 4);
  EXPECT_EQ(list()->currentRow(), 0);
  auto* script = static_cast<QLabel*>(panel->control(id_script));
  EXPECT_EQ(script->text(), "We are open");
  list()->setCurrentRow(1);
  EXPECT_EQ(script->text(), "Old offer");
  list()->setCurrentRow(2);
  EXPECT_EQ(script->text(), "");
}

TEST_F(PanelTest, EmptyListPlayF9EnterAndDoubleClickDoNothing) {
  panel->fill_list();
  ASSERT_EQ(panel->list_count(), 0);
  QTest::mouseClick(button(id_play), Qt::LeftButton);
  key(Qt::Key_F9);
  key(Qt::Key_Return);
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
  QCoreApplication::processEvents();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(out->opens, 0);
}

TEST_F(PanelTest, PlayF9EnterAndDoubleClickPlayTheSelection) {
  add_announcement("Opening", 0);
  panel->fill_list();
  frame->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
  QTest::mouseClick(button(id_play), Qt::LeftButton);
  EXPECT_EQ(out->opens, 1);
  key(Qt::Key_F9);
  EXPECT_EQ(out->opens, 2);
  key(Qt::Key_Enter);
  EXPECT_EQ(out->opens, 3);
  QRect row = list()->visualItemRect(list()->item(0));
  // A real double click: the first click, then the second reported as a double click.
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row.center());
  QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, row.center());
  EXPECT_EQ(out->opens, 4);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PanelTest, NotCurrentShowsTheWarningByteForByteAndPlaysNothing) {
  add_announcement("Sale", 0).weekdays = 0x01;  // Sundays only; the clock says Wednesday
  panel->fill_list();
  panel->play_selected();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, box_kind::ok_warning);
  EXPECT_EQ(boxes[0].caption, "Warning");
  EXPECT_EQ(boxes[0].text.toLatin1(),
            QByteArray("The selected announcement is not current.\n\r\n\rTo change the "
                       "announcement validity schedule, click on the Announcements button."));
  EXPECT_EQ(out->opens, 0);
}

TEST_F(PanelTest, ConfirmFlagAsksAndNoKeepsSilent) {
  add_announcement("Lost child", 0).confirm = 1;
  panel->fill_list();
  answers = {box_answer::no, box_answer::yes};
  panel->play_selected();
  EXPECT_EQ(out->opens, 0);
  panel->play_selected();
  EXPECT_EQ(out->opens, 1);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].kind, box_kind::yes_no_warning);
  EXPECT_EQ(boxes[0].caption, "Warning");
  EXPECT_EQ(boxes[0].text, "Are you sure you want to play the announcement \"Lost child\".");
}

TEST_F(PanelTest, EscapeStopsWithoutClosing) {
  add_announcement("Opening", 0);
  panel->fill_list();
  frame->show();
  panel->play_selected();
  ASSERT_TRUE(ctx->player.is_open());
  key(Qt::Key_Escape, button(id_help));
  EXPECT_FALSE(ctx->player.is_open());
  EXPECT_TRUE(frame->isVisible());
  EXPECT_FALSE(frame->has_ended());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PanelTest, SpaceHeldTenSecondsStartsThePageOnce) {
  ctx->st.settings.mic_device = 1;
  ctx->st.settings.mic_level = 80;
  frame->show();
  QWidget* focus = list();
  // First press, then what a held key gives for ten seconds at 30 repeats a second: each repeat
  // is an auto-repeated release followed by an auto-repeated press.
  QKeyEvent first(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
  QCoreApplication::sendEvent(focus, &first);
  QCoreApplication::processEvents();
  for (int i = 0; i < 300; ++i) {
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
    QCoreApplication::sendEvent(focus, &up);
    QCoreApplication::sendEvent(focus, &down);
    if (i % 30 == 0) settle();
  }
  settle();
  EXPECT_TRUE(ctx->player.page_active());
  EXPECT_EQ(mic_openings(), 1);
  QKeyEvent last(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
  QCoreApplication::sendEvent(focus, &last);
  settle();
  EXPECT_FALSE(ctx->player.page_active());
  EXPECT_EQ(mixer->last(1), 0u);
  EXPECT_EQ(mic_openings(), 1);
}

TEST_F(PanelTest, QuitClosesWithoutConfirmClose) {
  frame->show();
  ASSERT_TRUE(frame->confirm_close);
  frame->quit_without_asking();
  QCoreApplication::processEvents();
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(frame->has_ended());
}

struct close_case {
  const char* label;
  box_answer answer;
  bool ends;
  bool stays_visible;
};

void PrintTo(const close_case& c, std::ostream* os) {
  *os << c.label;
}

class ConfirmCloseTest : public PanelTest, public ::testing::WithParamInterface<close_case> {};

TEST_P(ConfirmCloseTest, AnswerDecides) {
  const close_case& c = GetParam();
  frame->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
  answers = {c.answer};
  frame->close();
  QCoreApplication::processEvents();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, box_kind::yes_no_cancel_question);
  EXPECT_EQ(boxes[0].caption, "Confirm Close");
  EXPECT_EQ(boxes[0].text, "Do you want your automatic announcements to continue playing?");
  EXPECT_EQ(frame->has_ended(), c.ends);
  // Yes hides into the notification area, or minimises where there is none.
  EXPECT_EQ(frame->isVisible() && !frame->isMinimized(), c.stays_visible);
}

const close_case close_cases[] = {
    {"yes_hides_and_goes_on", box_answer::yes, false, false},
    {"no_ends", box_answer::no, true, false},
    {"cancel_stays", box_answer::cancel, false, true},
};

INSTANTIATE_TEST_SUITE_P(Answers, ConfirmCloseTest, ::testing::ValuesIn(close_cases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(PanelTest, HandoverAsksAgainOnTheNextClose) {
  frame->confirm_close = false;
  frame->handover(std::nullopt);
  EXPECT_TRUE(frame->confirm_close);
}

TEST_F(PanelTest, LogonTextOpensTheSplashForSevenSecondsAndHides) {
  frame->show();
  ASSERT_EQ(panel->splash(), nullptr);
  bool hidden = false;
  QObject::connect(panel, &main_window::hideRequested, [&] { hidden = true; });
  panel->open_command(std::string("/logon"));
  ASSERT_NE(panel->splash(), nullptr);
  EXPECT_TRUE(hidden);
  EXPECT_TRUE(panel->timers().armed(9));
  EXPECT_EQ(panel->timers().interval(9), 7000);
  panel->timers().fire(9);
  EXPECT_EQ(panel->splash(), nullptr);
  EXPECT_FALSE(panel->timers().armed(9));
}

TEST_F(PanelTest, SetUpArmsTheTimersWithTheirFirstDelays) {
  panel->set_up(std::nullopt);
  EXPECT_EQ(panel->timers().interval(1), 5000);
  EXPECT_EQ(panel->timers().interval(2), 25000);
  EXPECT_EQ(panel->timers().interval(4), 30000);
  EXPECT_EQ(panel->timers().interval(5), 10000);
  EXPECT_EQ(panel->timers().interval(9), 5000);
  for (int id : {1, 2, 4, 5, 9}) EXPECT_EQ(panel->timers().accuracy(id), timer_accuracy::exact);
  EXPECT_NE(panel->splash(), nullptr);
  // The 500 ms periods are kept within Qt's coarse slop, so timers 1 and 5 wake us together;
  // the longer ones stay exact.
  for (int id : {1, 2, 4, 5}) panel->timers().fire(id);
  EXPECT_EQ(panel->timers().interval(1), 500);
  EXPECT_EQ(panel->timers().interval(5), 500);
  EXPECT_EQ(panel->timers().accuracy(1), timer_accuracy::coarse);
  EXPECT_EQ(panel->timers().accuracy(5), timer_accuracy::coarse);
  EXPECT_EQ(panel->timers().interval(2), 25000);
  EXPECT_EQ(panel->timers().accuracy(2), timer_accuracy::exact);
  EXPECT_EQ(panel->timers().interval(4), 30000);
  EXPECT_EQ(panel->timers().accuracy(4), timer_accuracy::exact);
}

TEST_F(PanelTest, FixedTimeAnnouncementPlaysFromTimerOne) {
  ann_blk& a = add_announcement("Noon", 0);
  a.fixed_times = {12 * 3600 + 3};
  panel->set_up(std::nullopt);
  panel->timers().fire(1);
  EXPECT_EQ(out->opens, 0);
  clock->advance(5);
  panel->timers().fire(1);
  EXPECT_EQ(out->opens, 1);
}

TEST_F(PanelTest, NoticeBoxThenSettingsSavedWhenIdle) {
  ctx->st.content.notice.next_show = wednesday_noon() - 10;
  ctx->st.content.notice.text = "Inventory on Friday";
  panel->set_up(std::nullopt);
  ASSERT_FALSE(dir.exists("vrxpa.dat"));
  panel->timers().fire(2);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, box_kind::ok_information);
  EXPECT_EQ(boxes[0].caption, "Announcements Notice:");
  EXPECT_EQ(boxes[0].text, "Inventory on Friday");
  EXPECT_EQ(panel->timers().interval(2), 25000);
  EXPECT_TRUE(ctx->dirty());
  run_idle();
  EXPECT_FALSE(ctx->dirty());
  EXPECT_TRUE(dir.exists("vrxpa.dat"));
}

TEST_F(PanelTest, HelpAndF1OpenTheManual) {
  std::vector<QString> opened;
  panel->open_url = [&](const QString& url) { opened.push_back(url); };
  dir.write("manual.html", std::string("<html></html>"));
  panel->set_program_folder(dir.path());
  QTest::mouseClick(button(id_help), Qt::LeftButton);
  key(Qt::Key_F1);
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_TRUE(opened[0].startsWith("file://"));
  EXPECT_TRUE(opened[0].endsWith("/manual.html#contents")) << opened[0].toStdString();
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PanelTest, CloseButtonHidesThePanel) {
  frame->show();
  QTest::mouseClick(button(id_close), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_FALSE(frame->isVisible() && !frame->isMinimized());
  EXPECT_FALSE(frame->has_ended());
}

}  // namespace
}  // namespace zta::test

#include "tests/app/package_fixture.hpp"

namespace zta::test {
namespace {

TEST_F(PanelTest, FileTextLoadsThroughTheProgressDialogAndRestoresTheMethod) {
  dir.write("shop.vrx", one_announcement_package("Shop Opening"));
  ctx->st.load_opts.method = load_method::ftp;
  panel->set_up(std::nullopt);
  panel->open_command(dir.file("shop.vrx"));
  ASSERT_EQ(panel->list_count(), 1);
  EXPECT_EQ(list()->item(0)->text(), "Shop Opening");
  EXPECT_GE(ctx->st.content.list[0].clip, 0);
  EXPECT_EQ(ctx->st.load_opts.method, load_method::ftp);
  EXPECT_EQ(field_text(ctx->st.load_opts.file_path), "");
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(ctx->dirty());
}

TEST_F(PanelTest, RefusedPackageShowsFileError) {
  dir.write("bad.vrx", std::string("short"));
  panel->open_command(dir.file("bad.vrx"));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "File Error");
  EXPECT_EQ(panel->list_count(), 0);
}

}  // namespace
}  // namespace zta::test

namespace zta::test {
namespace {

TEST_F(PanelTest, AfterYesTheHiddenPanelStillPlaysAtTheFixedTime) {
  add_announcement("Noon", 0).fixed_times = {12 * 3600 + 3};
  panel->set_up(std::nullopt);
  frame->show();
  answers = {box_answer::yes};
  frame->close();
  settle();
  ASSERT_FALSE(frame->has_ended());
  clock->advance(5);
  panel->timers().fire(1);
  EXPECT_EQ(out->opens, 1);
}

}  // namespace
}  // namespace zta::test
