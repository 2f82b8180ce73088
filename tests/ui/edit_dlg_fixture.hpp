#pragma once
// The Announcement Control dialog on test devices, a fixed clock and recorded message boxes.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "announcements/clip_files.hpp"
#include "platform/sim/fixed_wall_clock.hpp"
#include "platform/sim/test_wave_in.hpp"
#include "platform/sim/test_wave_out.hpp"
#include "tests/audio/recording_check.hpp"
#include "tests/common/announcement_maker.hpp"
#include "tests/common/temp_folder.hpp"
#include "ui/edit_dlg.hpp"

namespace zta::test {

struct seen_box {
  box_kind kind;
  QString caption;
  QString text;
};

class edit_dlg_fixture : public ::testing::Test {
 protected:
  void SetUp() override {
    st.settings.record_device = 0;
    st.settings.audition_device = 0;
  }
  void TearDown() override { dlg.reset(); }

  // An announcement with a clip file of `bytes` bytes (no clip for -1).
  ann_blk& add(const std::string& name, int clip, bool user_made = true, std::size_t bytes = 4096) {
    ann_blk a = always_current(name, clip);
    a.user_made = user_made ? 1 : 0;
    a.manual = 1;
    if (valid_clip(clip)) {
      dir.write(clip_path(st, clip).substr(dir.path().size()), std::vector<std::uint8_t>(bytes, 1));
      st.clip_use[static_cast<std::size_t>(clip)] |= clip_allocated;
    }
    st.content.list.push_back(a);
    return st.content.list[st.content.list.count() - 1];
  }

  ui::edit_hooks hooks() {
    ui::edit_hooks h;
    h.box = [this](QWidget*, box_kind kind, const QString& caption, const QString& text) {
      boxes.push_back({kind, caption, text});
      if (answers.empty()) return box_answer::cancel;
      box_answer a = answers.front();
      answers.erase(answers.begin());
      return a;
    };
    h.help = [this](int context) { helped.push_back(context); };
    h.choose_wavs = [this](QWidget*) { return wav_files; };
    return h;
  }

  void open(int initial) {
    ui::edit_devices devices{&in, &out, nullptr, &clock};
    dlg = std::make_unique<ui::edit_dlg>(st, devices, hooks(), initial);
  }

  template <class T>
  T* get(int id) const {
    return qobject_cast<T*>(dlg->control(id));
  }
  QPushButton* button(int id) const { return get<QPushButton>(id); }
  QLineEdit* edit(int id) const { return get<QLineEdit>(id); }
  QCheckBox* box(int id) const { return get<QCheckBox>(id); }
  QListWidget* list() const { return get<QListWidget>(ui::ec_list); }
  QListWidget* times() const { return get<QListWidget>(ui::ec_fixed_times); }
  void select(int row) { list()->setCurrentRow(row); }
  std::vector<std::string> row_texts() const {
    std::vector<std::string> t;
    t.reserve(static_cast<std::size_t>(list()->count()));
    for (int i = 0; i < list()->count(); ++i) t.push_back(list()->item(i)->text().toStdString());
    return t;
  }
  std::vector<std::string> time_texts() const {
    std::vector<std::string> t;
    t.reserve(static_cast<std::size_t>(times()->count()));
    for (int i = 0; i < times()->count(); ++i) t.push_back(times()->item(i)->text().toStdString());
    return t;
  }
  int clips_allocated() const {
    int n = 0;
    for (auto bits : st.clip_use) n += (bits & clip_allocated) != 0 ? 1 : 0;
    return n;
  }

  temp_folder dir;
  station st{dir.path()};
  test_wave_in in;
  test_wave_out out;
  fixed_wall_clock clock{0};
  std::vector<seen_box> boxes;
  std::vector<box_answer> answers;
  std::vector<int> helped;
  QStringList wav_files;
  std::unique_ptr<ui::edit_dlg> dlg;
};

}  // namespace zta::test
