// "Process for Telephone" and the WAV import's progress dialog, run modally as the program runs
// them: the level warning before the processing, Cancel, and what is left behind.
#include "ui/recproc_dlg.hpp"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "tests/audio/recording_check.hpp"
#include "tests/ui/modal_driver.hpp"
#include "ui/loadwav_dlg.hpp"

namespace zta::test {
namespace {

using ui::recproc_dlg;

class ProcessDialogs : public ::testing::Test {
 protected:
  message_box_fn box() {
    return [this](QWidget*, box_kind kind, const QString& caption, const QString& text) {
      boxes.push_back({kind, caption, text});
      // The processing has not started while the warning is up.
      processing_seen.push_back(file_exists(clip_path(st, 0)) &&
                                std::filesystem::file_size(clip_path(st, 0)) > 0);
      return box_answer::ok;
    };
  }
  void feed(rectmp& t, const std::vector<std::int16_t>& s) {
    std::vector<std::int16_t> copy = s;
    for (std::size_t at = 0; at < copy.size(); at += 2048)
      t.append_block(copy.data() + at,
                     static_cast<std::int32_t>(2 * std::min<std::size_t>(2048, copy.size() - at)));
  }
  static std::vector<std::int16_t> full_scale(std::size_t n) {
    std::vector<std::int16_t> s(n);
    for (std::size_t i = 0; i < n; ++i) s[i] = (i / 4) % 2 ? 32767 : -32768;
    return s;
  }

  struct seen {
    box_kind kind;
    QString caption, text;
  };
  temp_folder dir;
  station st{dir.path()};
  std::vector<seen> boxes;
  std::vector<bool> processing_seen;
};

// Far too loud or far too quiet: the warning comes before the processing, which still runs.
TEST_F(ProcessDialogs, LevelWarningsComeFirstAndTheProcessingStillRuns) {
  struct row {
    const char* name;
    std::vector<std::int16_t> input;
    level_warning warning;
  };
  std::vector<std::int16_t> quiet(44100);
  for (std::size_t i = 0; i < quiet.size(); ++i) quiet[i] = (i / 4) % 2 ? 700 : -700;
  const row rows[] = {
      {"very high", full_scale(44100), level_warning::very_high},
      {"very low", quiet, level_warning::very_low},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    boxes.clear();
    processing_seen.clear();
    st.clip_use.fill(0);
    rectmp tmp;
    feed(tmp, r.input);
    std::int16_t clip = 9;
    std::int32_t length = 9;
    QString title;
    when_modal<recproc_dlg>([&](recproc_dlg& d) { title = d.windowTitle(); });
    EXPECT_EQ(ui::process_recording(nullptr, st, tmp, clip, length, box()), recproc_failure::none);
    EXPECT_EQ(title, "Process for Telephone");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, box_kind::ok_plain);
    EXPECT_EQ(boxes[0].caption, "Record Level Warning");
    EXPECT_EQ(boxes[0].text, level_warning_text(r.warning));
    EXPECT_EQ(processing_seen, std::vector<bool>{false});
    EXPECT_TRUE(valid_clip(clip));
    EXPECT_GT(length, 0);
  }
}

TEST_F(ProcessDialogs, ARecordingWithoutLoudPartsEndsWithoutAClip) {
  rectmp tmp;
  feed(tmp, std::vector<std::int16_t>(20000, 0));
  std::int16_t clip = 3;
  std::int32_t length = 3;
  EXPECT_EQ(ui::process_recording(nullptr, st, tmp, clip, length, box()), recproc_failure::silent);
  EXPECT_EQ(clip, -1);
  EXPECT_EQ(length, 0);
  EXPECT_FALSE(file_exists(clip_path(st, 0)));
}

TEST_F(ProcessDialogs, CancelLeavesNoClipBehind) {
  rectmp tmp;
  feed(tmp, steady_tone(22050 * 20));
  std::int16_t clip = -1;
  std::int32_t length = 0;
  bool partly_written = false;
  when_modal<recproc_dlg>([&](recproc_dlg& d) {
    partly_written = QTest::qWaitFor([&] { return file_exists(clip_path(st, 0)); }, 5000);
    d.cancel_button()->click();
  });
  EXPECT_EQ(ui::process_recording(nullptr, st, tmp, clip, length, box()),
            recproc_failure::cancelled);
  EXPECT_TRUE(partly_written);
  EXPECT_EQ(clip, -1);
  EXPECT_FALSE(file_exists(clip_path(st, 0)));
  EXPECT_EQ(st.clip_use[0], 0);
}

TEST_F(ProcessDialogs, WavImportShowsItsFileAndProcessesLikeARecording) {
  temp_folder src;
  src.write("Store Closing.wav", pcm16_wav(22050, 1, full_scale(22050)));
  QString title, status;
  when_modal<ui::loadwav_dlg>([&](ui::loadwav_dlg& d) {
    title = d.windowTitle();
    status = d.status_label()->text();
  });
  const int index = ui::import_wav_file(nullptr, st, src.file("Store Closing.wav"), nullptr, box());
  ASSERT_EQ(index, 0);
  EXPECT_EQ(title, "Load Announcements");
  EXPECT_EQ(status, "Store Closing.wav");
  EXPECT_EQ(st.content.list[0].name_text(), "Store Closing");
  EXPECT_TRUE(valid_clip(st.content.list[0].clip));
  ASSERT_EQ(boxes.size(), 1u);  // the same warning as a recording gets
  EXPECT_EQ(boxes[0].caption, "Record Level Warning");
}

TEST_F(ProcessDialogs, CancellingTheImportKeepsAnAnnouncementWithoutSound) {
  temp_folder src;
  src.write("long.wav", pcm16_wav(22050, 1, steady_tone(22050 * 30)));
  when_modal<ui::loadwav_dlg>([](ui::loadwav_dlg& d) { d.cancel_button()->click(); });
  EXPECT_EQ(ui::import_wav_file(nullptr, st, src.file("long.wav"), nullptr, box()), -1);
  ASSERT_EQ(st.content.list.count(), 1);
  EXPECT_EQ(st.content.list[0].clip, -1);
  EXPECT_FALSE(file_exists(clip_path(st, 0)));
  // A file that is no WAV at all ends at once, without its dialog.
  src.write("text.wav", std::string("hello"));
  EXPECT_EQ(ui::import_wav_file(nullptr, st, src.file("text.wav"), nullptr, box()), -1);
}

}  // namespace
}  // namespace zta::test
