#include "audio/import_wav.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "announcements/clip_files.hpp"
#include "tests/audio/import_check.hpp"
#include "tests/audio/wav_builder.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

using test::expect_imported;
using test::import_case;
using test::pcm16_wav;
using test::speech;
using test::temp_folder;
using test::wav_builder;

TEST(ImportWav, FilesBecomeAnnouncementsWithClips) {
  const import_case cases[] = {
      {"Store Closing.wav", pcm16_wav(22050, 1, speech(22050, 1)), 11025},
      {"stereo 44k.wav", pcm16_wav(44100, 2, speech(44100, 2)), 11025},
  };
  for (const auto& c : cases) expect_imported(c, nullptr);
  EXPECT_EQ(import_name("/some/where/Store Closing.wav"), "Store Closing");
  EXPECT_EQ(import_name("plain"), "plain");
  EXPECT_EQ(import_name("dir.v2/file.name.wav"), "file.name");
}

TEST(ImportWav, FailuresLeaveAClipLessAnnouncement) {
  struct row {
    const char* name;
    std::vector<std::uint8_t> bytes;
    import_failure failure;
  };
  const row rows[] = {
      {"text.wav",
       {'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e', ' ', 'f', 'i', 'l', 'e'},
       import_failure::not_wav},
      {"empty data.wav", wav_builder().fmt(1, 1, 22050, 16).chunk("data", {}).finish(),
       import_failure::no_usable_chunk},
      {"silent.wav", pcm16_wav(22050, 1, std::vector<std::int16_t>(30000, 0)),
       import_failure::silent},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    temp_folder data;
    station st(data.path());
    data.write(r.name, r.bytes);
    import_wav_job job(st, data.file(r.name));
    while (job.step()) {
    }
    EXPECT_EQ(job.result(), -1);
    EXPECT_EQ(job.failure(), r.failure);
    ASSERT_EQ(st.content.list.count(), 1);
    EXPECT_EQ(st.content.list[0].clip, -1);
    EXPECT_EQ(st.content.list[0].id_serial, 0);
    EXPECT_EQ(std::count(st.clip_use.begin(), st.clip_use.end(), 0), clip_count);
    EXPECT_EQ(data.names().size(), 1u);  // only the source file
  }
  temp_folder data;
  station st(data.path());
  EXPECT_EQ(import_wav(st, data.file("missing.wav")), -1);
}

TEST(ImportWav, ListFullAndNoFreeClip) {
  temp_folder data;
  data.write("a.wav", pcm16_wav(22050, 1, speech(22050, 1)));
  {
    station st(data.path());
    for (int i = 0; i < max_announcements; ++i) {
      ann_blk a;
      a.clip = static_cast<std::int16_t>(i);
      ASSERT_TRUE(st.content.list.push_back(a));
    }
    import_wav_job job(st, data.file("a.wav"));
    EXPECT_FALSE(job.step());
    EXPECT_EQ(job.failure(), import_failure::list_full);
  }
  station st(data.path());
  st.clip_use.fill(clip_held);
  import_wav_job job(st, data.file("a.wav"));
  while (job.step()) {
  }
  EXPECT_EQ(job.failure(), import_failure::no_free_clip);
  EXPECT_EQ(st.content.list.count(), 1);
}

TEST(ImportWav, CancelMidwayKeepsNothing) {
  temp_folder data, src;
  src.write("long.wav", pcm16_wav(22050, 1, speech(22050 * 4, 1)));
  station st(data.path());
  import_wav_job job(st, src.file("long.wav"));
  for (int i = 0; i < 100 && job.step(); ++i) {  // into the processing
  }
  ASSERT_EQ(data.names().size(), 1u);  // the clip being written
  job.cancel();
  EXPECT_FALSE(job.step());
  EXPECT_EQ(job.failure(), import_failure::cancelled);
  EXPECT_EQ(st.content.list[0].clip, -1);
  EXPECT_TRUE(data.names().empty());
}

// Cancelled or dropped while the file is still being read (the reading runs ahead on a worker):
// the worker is stopped, and neither the temporary file nor a clip is left behind.
TEST(ImportWav, CancelWhileReadingKeepsNothing) {
  temp_folder data, src, cwd;
  src.write("long.wav", pcm16_wav(44100, 2, speech(44100 * 40, 2)));
  const auto here = std::filesystem::current_path();
  std::filesystem::current_path(cwd.root());  // where the temporary file goes
  for (int steps : {0, 1, 200}) {
    for (bool cancel : {true, false}) {
      SCOPED_TRACE(testing::Message() << steps << (cancel ? " cancelled" : " dropped"));
      station st(data.path());
      {
        import_wav_job job(st, src.file("long.wav"));
        for (int i = 0; i < steps; ++i) ASSERT_TRUE(job.step());
        EXPECT_EQ(cwd.names().size(), 1u);  // the temporary file
        if (cancel) {
          job.cancel();
          EXPECT_FALSE(job.step());
          EXPECT_EQ(job.failure(), import_failure::cancelled);
          EXPECT_TRUE(cwd.names().empty());
        }
      }
      EXPECT_EQ(st.content.list[0].clip, -1);
      EXPECT_TRUE(data.names().empty());
      EXPECT_TRUE(cwd.names().empty());
    }
  }
  std::filesystem::current_path(here);
}

TEST(ImportWav, LevelWarningsReachTheCaller) {
  temp_folder data;
  // Full-scale square wave throughout: the gain turns it down by far more than 9 dB.
  std::vector<std::int16_t> loud(44100);
  for (std::size_t i = 0; i < loud.size(); ++i) loud[i] = (i / 4) % 2 ? 32767 : -32768;
  data.write("loud.wav", pcm16_wav(22050, 1, loud));
  station st(data.path());
  import_wav_job job(st, data.file("loud.wav"));
  while (job.step()) {
  }
  EXPECT_EQ(job.result(), 0);
  EXPECT_EQ(job.warnings(), std::vector<std::string>{"warn: level very high"});
}

// With a processor (the program's "Process for Telephone" dialog) the processing is handed over
// once, when the file has been read; its outcome is the import's.
TEST(ImportWav, AProcessorTakesTheProcessing) {
  struct row {
    const char* name;
    recproc_failure answer;  // none: run the processing
    int result;
    import_failure failure;
  };
  const row rows[] = {
      {"processed", recproc_failure::none, 0, import_failure::none},
      {"cancelled in the dialog", recproc_failure::cancelled, -1, import_failure::cancelled},
      {"silent", recproc_failure::silent, -1, import_failure::silent},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    temp_folder data, src;
    src.write("take.wav", pcm16_wav(22050, 1, speech(22050, 1)));
    station st(data.path());
    int calls = 0;
    std::int32_t samples_seen = 0;
    recording_processor processor = [&](rectmp& tmp, std::int16_t& clip, std::int32_t& length) {
      ++calls;
      std::vector<std::int16_t> all(40000);
      tmp.rewind();
      samples_seen = tmp.fetch_block(all.data(), 80000) / 2;
      if (r.answer != recproc_failure::none) return r.answer;
      return process_in_loop(st, tmp, clip, length);
    };
    import_wav_job job(st, src.file("take.wav"), nullptr, processor);
    while (job.step()) {
    }
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(samples_seen, 11025 + 2 * 2205);  // every sample of the file, once
    EXPECT_EQ(job.result(), r.result);
    EXPECT_EQ(job.failure(), r.failure);
    EXPECT_EQ(valid_clip(st.content.list[0].clip), r.result >= 0);
    EXPECT_EQ(data.names().size(), r.result >= 0 ? 1u : 0u);
  }
}

}  // namespace
}  // namespace zta

#include "announcements/settings_store.hpp"

namespace zta {
namespace {

TEST(ImportWav, SaveBetweenStepsKeepsTheClipBeingProcessed) {
  temp_folder data;
  station st(data.path());
  data.write("Sale.wav", pcm16_wav(22050, 1, speech(22050, 1)));
  import_wav_job job(st, data.file("Sale.wav"));
  // The idle save of the progress dialog's loop runs between the steps.
  while (job.step()) save_settings(st);
  ASSERT_GE(job.result(), 0);
  const ann_blk& a = st.content.list[job.result()];
  ASSERT_TRUE(valid_clip(a.clip));
  std::vector<std::uint8_t> clip =
      data.read(std::filesystem::path(clip_path(st, a.clip)).filename().string());
  EXPECT_GE(clip.size(), static_cast<std::size_t>(a.id_serial) * 2)
      << "the clean-up of a save deleted the clip being processed";
  EXPECT_GT(a.id_serial, 10000);
  save_settings(st);
  EXPECT_EQ(st.clip_use[static_cast<std::size_t>(a.clip)] & clip_allocated, clip_allocated);
}

}  // namespace
}  // namespace zta
