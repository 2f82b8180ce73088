// What the program adds to the play log: the missed starts of the panel's own commands, sound
// devices found again by name after a renumbering, and the "Last plays" window of the tray menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QSystemTrayIcon>

#include "announcements/missed_log.hpp"
#include "tests/app/app_test_env.hpp"
#include "ui/last_plays_dlg.hpp"

namespace zta {
namespace {

std::vector<std::string> missed_texts(const std::string& folder, std::int32_t now) {
  std::vector<std::string> out;
  for (const missed_entry& e : read_missed_file(folder + missed_file_name(now), now))
    out.push_back(e.name + "|" + e.trigger + "|" + e.reason);
  return out;
}

class ProofPanel : public test::panel_fixture {};

TEST_F(ProofPanel, ADeclinedConfirmAndTheStopButtonAreRecorded) {
  add_announcement("Lost child", 0).confirm = 1;
  panel->fill_list();
  answers = {box_answer::no, box_answer::yes};
  panel->play_selected();
  panel->play_selected();
  ASSERT_TRUE(ctx->player.is_open());
  button(id_stop)->click();
  EXPECT_EQ(missed_texts(dir.path(), test::wednesday_noon()),
            (std::vector<std::string>{"Lost child|manual|confirm box declined",
                                      "Lost child|manual|stopped by the user"}));
}

TEST_F(ProofPanel, TheTrayMenuOpensLastPlaysWithThePlayAndTheMiss) {
  add_announcement("Opening", 0);
  add_announcement("Sale", 1).confirm = 1;
  panel->fill_list();
  panel->play_selected();  // Opening, logged
  ctx->player.stop(missed_reason::cut_off_by_play);
  QMenu* menu = frame->tray()->contextMenu();
  ASSERT_NE(menu, nullptr);
  QAction* last = nullptr;
  for (QAction* a : menu->actions()) {
    if (a->text() == ui::last_plays_title) last = a;
  }
  ASSERT_NE(last, nullptr);
  last->trigger();
  auto* dlg = qobject_cast<ui::last_plays_dlg*>(frame->last_plays());
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(dlg->isVisible());
  ASSERT_EQ(dlg->list()->count(), 2);
  EXPECT_EQ(dlg->list()->item(0)->text(),
            "2024-03-06 12:00:00  Opening  missed (manual): cut off by a later play");
  EXPECT_EQ(dlg->list()->item(1)->text(), "2024-03-06 12:00  Opening  played");
}

class DevicesFoundAgain : public test::app_fixture {};

TEST_F(DevicesFoundAgain, ARenumberedCardIsFoundByNameAtStartAndBeforeAPlay) {
  out->set_names({"USB Card", "default"});
  ctx->st.settings.sound_out_device = 0;
  ctx->remember_devices();
  ASSERT_TRUE(dir.exists(device_names_file));

  // After a reboot the card comes up third: the start finds it.
  out->set_names({"default", "HDMI", "USB Card"});
  ctx->save();
  ctx->load();
  EXPECT_EQ(ctx->st.settings.sound_out_device, 2);
  EXPECT_TRUE(ctx->dirty());

  // Replugged while running: the next play opens it where it is now.
  out->set_names({"USB Card", "default"});
  ann_blk& a = add_announcement("Opening", 0);
  EXPECT_FALSE(ctx->player.play_announcement(&a, play_trigger::manual));
  EXPECT_EQ(out->last_index, 0);
  EXPECT_EQ(ctx->st.settings.sound_out_device, 0);
  // A card that is nowhere leaves the choice as it was.
  ctx->player.stop();
  out->set_names({"default"});
  ctx->player.play_announcement(&a, play_trigger::manual);
  EXPECT_EQ(ctx->st.settings.sound_out_device, 0);

  // The start finds both choices of the card; a play only looks for the sound-out device.
  const auto notes = missed_texts(dir.path(), test::wednesday_noon());
  EXPECT_EQ(notes, (std::vector<std::string>{
                       "|device|sound-out device \"USB Card\" found again as number 2 (was 0)",
                       "|device|audition device \"USB Card\" found again as number 2 (was 0)",
                       "|device|sound-out device \"USB Card\" found again as number 0 (was 2)",
                       "Opening|manual|stopped by the user",
                   }));
}

}  // namespace
}  // namespace zta
