#include <gtest/gtest.h>

#include "announcements/clip_files.hpp"
#include "announcements/list_ops.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

using test::temp_folder;

TEST(ClipFiles, NamesAndInvalidNumbers) {
  station st("/data/", 0);
  EXPECT_EQ(clip_path(st, 0), "/data/afl000.aud");
  EXPECT_EQ(clip_path(st, 199), "/data/afl199.aud");
  EXPECT_EQ(chime_path(st, 2), "/data/chimes2.aud");
  for (int bad : {-1, 200, -32768, 1000}) {
    EXPECT_EQ(clip_path(st, bad), "");
    EXPECT_FALSE(open_clip(st, bad));
    EXPECT_FALSE(create_clip(st, bad));
    EXPECT_FALSE(append_clip(st, bad));
  }
  EXPECT_EQ(chime_path(st, 0), "");
  EXPECT_EQ(chime_path(st, 4), "");
}

TEST(ClipFiles, CreateTruncatesAndAppendContinues) {
  temp_folder dir;
  station st(dir.path(), 0);
  {
    auto f = create_clip(st, 5);
    std::fwrite("abcd", 1, 4, f.get());
  }
  {
    auto f = append_clip(st, 5);
    std::fwrite("ef", 1, 2, f.get());
  }
  EXPECT_EQ(dir.read("afl005.aud").size(), 6u);
  create_clip(st, 5);
  EXPECT_EQ(dir.read("afl005.aud").size(), 0u);
  delete_clip(st, 5);
  EXPECT_FALSE(dir.exists("afl005.aud"));
  delete_clip(st, 5);  // a missing file is not an error
}

TEST(ClipFiles, FindFreeSkipsAllocatedAndHeld) {
  station st;
  EXPECT_EQ(find_free_clip(st), 0);
  st.clip_use[0] = clip_allocated;
  st.clip_use[1] = clip_held;
  st.clip_use[2] = clip_marked;  // marked alone does not make a number busy
  EXPECT_EQ(find_free_clip(st), 2);
  st.clip_use.fill(clip_allocated);
  st.clip_use[150] = clip_held;
  EXPECT_EQ(find_free_clip(st), -1);
}

TEST(ClipFiles, ReleaseDeletesOnlyWhenTheLastUserLetsGo) {
  temp_folder dir;
  station st(dir.path(), 0);
  dir.write("afl003.aud", std::string("x"));
  dir.write("afl004.aud", std::string("x"));
  dir.write("afl006.aud", std::string("x"));
  st.clip_use[3] = clip_allocated;
  st.clip_use[4] = clip_allocated | clip_held;
  st.clip_use[6] = 0;
  release_clip(st, 3);
  release_clip(st, 4);
  release_clip(st, 6);
  EXPECT_FALSE(dir.exists("afl003.aud"));
  EXPECT_TRUE(dir.exists("afl004.aud")) << "the player still holds it";
  EXPECT_EQ(st.clip_use[4], clip_held);
  EXPECT_TRUE(dir.exists("afl006.aud")) << "not allocated: left alone";
}

TEST(ClipCleanup, MarksReferencesAndExpiresOldPieces) {
  temp_folder dir;
  const std::int32_t now = 10 * piece_max_age;
  station st(dir.path(), now);
  for (const char* name :
       {"afl001.aud", "afl002.aud", "afl003.aud", "afl004.aud", "afl005.aud", "a.tmp", "b.tmp"}) {
    dir.write(name, std::string("x"));
  }
  ann_blk a;
  a.clip = 1;
  st.content.list.push_back(a);
  st.clip_use[2] = clip_allocated;              // unreferenced: deleted
  st.clip_use[3] = clip_allocated | clip_held;  // unreferenced but playing: kept
  st.pieces.partial[0] = {4, 11, 100, now - piece_max_age + 1, {}};  // recent: kept
  st.pieces.partial[1] = {5, 12, 100, now - piece_max_age, {}};      // a week old: forgotten
  st.clip_use[5] = clip_allocated;
  st.pieces.temporary[0] = {11, 100, 4096, now - piece_max_age - 1};  // older than a week
  st.pieces.temporary[1] = {12, 100, 4096, now - piece_max_age};      // exactly a week: kept

  clip_cleanup(st);

  EXPECT_EQ(st.clip_use[1] & (clip_allocated | clip_held), clip_allocated);
  EXPECT_FALSE(dir.exists("afl002.aud"));
  EXPECT_TRUE(dir.exists("afl003.aud"));
  EXPECT_EQ(st.clip_use[3], clip_held);
  EXPECT_EQ(st.clip_use[4] & (clip_allocated | clip_held), clip_allocated);
  EXPECT_EQ(st.pieces.partial[1].clip, -1);
  EXPECT_FALSE(dir.exists("afl005.aud"));
  EXPECT_FALSE(dir.exists("a.tmp"));
  EXPECT_EQ(st.pieces.temporary[0].piece_offset, 0);
  EXPECT_TRUE(dir.exists("b.tmp"));
}

TEST(ClipCleanup, LeavesFilesOfAnEarlierRunAlone) {
  temp_folder dir;
  station st(dir.path(), 0);
  dir.write("afl009.aud", std::string("x"));
  clip_cleanup(st);
  EXPECT_TRUE(dir.exists("afl009.aud"));
  EXPECT_EQ(find_free_clip(st), 0);
}

TEST(ResetAsUser, FreshUserAnnouncementReleasesItsClip) {
  temp_folder dir;
  station st(dir.path(), 123456);
  dir.write("afl008.aud", std::string("x"));
  st.clip_use[8] = clip_allocated;
  ann_blk a = package_record_defaults();
  a.clip = 8;
  a.fixed_times = {1};
  a.script = "old";
  reset_as_user(st, a, "A name that is longer than thirty-one bytes");
  EXPECT_EQ(a.name_text(), "A name that is longer than thir");
  EXPECT_EQ(a.id_stamp, 123456);
  EXPECT_EQ(a.id_serial, 0);
  EXPECT_EQ(a.expiry, moment_never);
  EXPECT_EQ(a.day_to, 86400);
  EXPECT_EQ(a.weekdays, 127);
  EXPECT_EQ(a.chimes, 1);
  EXPECT_EQ(a.manual, 1);
  EXPECT_EQ(a.autoplay, -1);
  EXPECT_EQ(a.user_made, 1);
  EXPECT_EQ(a.clip, -1);
  EXPECT_TRUE(a.fixed_times.empty());
  EXPECT_TRUE(a.script.empty());
  EXPECT_FALSE(dir.exists("afl008.aud"));
}

}  // namespace
}  // namespace zta
