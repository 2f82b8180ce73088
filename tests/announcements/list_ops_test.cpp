#include <gtest/gtest.h>

#include "announcements/clip_files.hpp"
#include "announcements/list_ops.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

using test::temp_folder;

ann_blk record(std::int32_t stamp, std::int32_t serial, int clip, bool user = false) {
  ann_blk a = package_record_defaults();
  a.id_stamp = stamp;
  a.id_serial = serial;
  a.clip = static_cast<std::int16_t>(clip);
  a.user_made = user ? 1 : 0;
  a.set_name((user ? "user " : "pkg ") + std::to_string(stamp));
  return a;
}

TEST(ListOps, NewUserAnnouncementReusesTheFirstPlaceholder) {
  station st("/x/", 500);
  st.content.list.push_back(record(1, 1, 0));
  st.content.list.push_back(record(2, 2, 1));
  st.content.list.push_back(record(3, 3, -1));
  st.content.list.push_back(record(4, 4, -1));
  EXPECT_EQ(new_user_announcement(st, "New"), 2);
  EXPECT_EQ(st.content.list[2].name_text(), "New");
  EXPECT_EQ(st.content.list[2].id_stamp, 500);
  EXPECT_EQ(st.content.list.count(), 4);
}

TEST(ListOps, NewUserAnnouncementAppendsUntilTheListIsFull) {
  station st;
  for (int i = 0; i < max_announcements - 1; ++i) st.content.list.push_back(record(i, i, i % 200));
  EXPECT_EQ(new_user_announcement(st, "last"), max_announcements - 1);
  EXPECT_EQ(new_user_announcement(st, "again"), max_announcements - 1)
      << "the last one got no clip yet, so it is reused";
  st.content.list[max_announcements - 1].clip = 5;
  EXPECT_EQ(new_user_announcement(st, "none"), -1);
  EXPECT_FALSE(st.content.list.add_empty());
}

TEST(ListOps, RemoveAtReleasesTheClip) {
  temp_folder dir;
  station st(dir.path(), 0);
  dir.write("afl002.aud", std::string("x"));
  st.clip_use[2] = clip_allocated;
  st.content.list.push_back(record(1, 1, 2));
  st.content.list.push_back(record(2, 2, 3));
  remove_at(st, 5);
  EXPECT_EQ(st.content.list.count(), 2);
  remove_at(st, 0);
  EXPECT_EQ(st.content.list.count(), 1);
  EXPECT_EQ(st.content.list[0].id_stamp, 2);
  EXPECT_FALSE(dir.exists("afl002.aud"));
}

TEST(MergePackageList, KeepsSoundOfKnownIdentitiesAndUserRecords) {
  temp_folder dir;
  station st(dir.path(), 0);
  dir.write("afl001.aud", std::string("x"));
  dir.write("afl002.aud", std::string("x"));
  st.clip_use[1] = st.clip_use[2] = st.clip_use[3] = clip_allocated;
  dir.write("afl003.aud", std::string("x"));
  st.content.list.push_back(record(10, 100, 1));        // delivered again: keeps clip 1
  st.content.list.push_back(record(20, 100, 2));        // dropped: clip 2 released
  st.content.list.push_back(record(30, 300, 3, true));  // user-made: survives
  merge_package_list(st, {record(40, 1, -1), record(10, 100, -1), record(10, 100, -1)});
  const ablklist& l = st.content.list;
  ASSERT_EQ(l.count(), 4);
  EXPECT_EQ(l[0].id_stamp, 40);
  EXPECT_EQ(l[1].clip, 1);
  EXPECT_EQ(l[2].clip, -1) << "a duplicate identity gets no sound";
  EXPECT_EQ(l[3].id_stamp, 30);
  EXPECT_EQ(l[3].clip, 3);
  EXPECT_TRUE(dir.exists("afl001.aud"));
  EXPECT_FALSE(dir.exists("afl002.aud"));
  EXPECT_TRUE(dir.exists("afl003.aud"));
}

TEST(MergePackageList, UserRecordsSurviveOnlyWhileThereIsRoom) {
  struct merge_case {
    int incoming;
    int user_made;
    int survivors;
  };
  for (const merge_case c : {merge_case{127, 3, 0}, merge_case{120, 10, 7}, merge_case{0, 5, 5}}) {
    station st("/nowhere/", 0);
    for (int i = 0; i < c.user_made; ++i) st.content.list.push_back(record(1000 + i, 0, -1, true));
    std::vector<ann_blk> incoming;
    incoming.reserve(static_cast<std::size_t>(c.incoming));
    for (int i = 0; i < c.incoming; ++i) incoming.push_back(record(i, i, -1));
    merge_package_list(st, std::move(incoming));
    ASSERT_EQ(st.content.list.count(), c.incoming + c.survivors);
    for (int i = 0; i < c.survivors; ++i) {
      EXPECT_EQ(st.content.list[c.incoming + i].id_stamp, 1000 + i)
          << "user records keep their order";
    }
  }
}

TEST(Notice, TakeDueNoticeRepeatsOnlyDailyOrLonger) {
  struct notice_case {
    std::int32_t next_show, repeat, now;
    bool due;
    std::int32_t after;
  };
  const notice_case cases[] = {
      {100, 86400, 100, false, 100},         // not strictly before now
      {99, 86400, 100, true, 100 + 86400},   // shown, next a day later
      {99, 86399, 100, true, moment_never},  // shorter than a day: once
      {99, 3600, 100, true, moment_never},
      {moment_never, 86400, moment_never, false, moment_never},
      {5, 86400, 0x7FFFFFFF - 86400, true, moment_never},  // would reach never
      {5, 86400, 0x7FFFFFFF - 86401, true, 0x7FFFFFFF - 1},
  };
  for (const auto& c : cases) {
    updateinfo n{c.next_show, c.repeat, "t"};
    EXPECT_EQ(take_due_notice(n, c.now), c.due) << c.next_show << " " << c.repeat;
    EXPECT_EQ(n.next_show, c.after) << c.next_show << " " << c.repeat;
  }
}

TEST(Notice, SetFromPackageMovesAPastShowOn) {
  updateinfo n;
  set_notice_from_package(n, 50, 3600, "past", 100);
  EXPECT_EQ(n.next_show, 3700);
  set_notice_from_package(n, 50, 0, "past", 100);
  EXPECT_EQ(n.next_show, moment_never);
  set_notice_from_package(n, 500, 0, "future", 100);
  EXPECT_EQ(n.next_show, 500);
  set_notice_from_package(n, 50, 0x7FFFFFF0, "guarded", 100);
  EXPECT_EQ(n.next_show, moment_never);
}

}  // namespace
}  // namespace zta
