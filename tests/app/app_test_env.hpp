#pragma once
// Shared pieces of the program's tests: a private session (runtime, config and data folders) set
// up before the QApplication, and a panel fixture on test devices and a fixed clock.
#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.hpp"
#include "app/main_frame.hpp"
#include "app/main_window.hpp"
#include "platform/sim/fixed_wall_clock.hpp"
#include "platform/sim/recording_aux_mixer.hpp"
#include "platform/sim/test_wave_out.hpp"
#include "platform/xdg/xdg_startup_registry.hpp"
#include "tests/common/temp_folder.hpp"
#include "ui/message_box.hpp"

namespace zta::test {

// The session folders every test process gets (created mode 700 before Qt starts).
const std::string& session_folder();

// 2024-03-06 (a Wednesday) 12:00:00 on the `now` scale.
std::int32_t wednesday_noon();

struct shown_box {
  box_kind kind;
  QString caption;
  QString text;
};

// Boxes that are written down and answered with `answers` in order (cancel once they run out).
message_box_fn answering_boxes(std::vector<shown_box>& boxes, std::vector<box_answer>& answers);

class app_fixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A current, manual announcement with a clip file of `samples` samples.
  ann_blk& add_announcement(const std::string& name, int clip, bool manual = true);

  message_box_fn box_fn();

  temp_folder dir;
  std::shared_ptr<ftp_client> ftp;  // set before SetUp() to serve the FTP method
  test_wave_out* out = nullptr;
  recording_aux_mixer* mixer = nullptr;
  fixed_wall_clock* clock = nullptr;
  std::unique_ptr<app_context> ctx;
  std::vector<shown_box> boxes;
  std::vector<box_answer> answers;  // given in order; afterwards cancel
};

// The panel (the frame and its main window) over app_fixture's context.
class panel_fixture : public app_fixture {
 protected:
  void SetUp() override;
  void TearDown() override;
  QListWidget* list() const { return static_cast<QListWidget*>(panel->control(id_list)); }
  QPushButton* button(int id) const { return static_cast<QPushButton*>(panel->control(id)); }

  std::unique_ptr<main_frame> frame;
  main_window* panel = nullptr;
};

// A context on the simulated sound card in dir/`card`/ at `speed` times the audio rate, its data
// folder dir/data/ (both made here), on a fixed clock at wednesday_noon(), set to `clock` when
// given.
std::unique_ptr<app_context> simulated_context(const temp_folder& dir, const std::string& card,
                                               double speed, date_order order,
                                               fixed_wall_clock** clock = nullptr);

}  // namespace zta::test
