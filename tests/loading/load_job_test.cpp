// The load job: sections of a package file, and disk pieces joined in and out of order.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "announcements/clip_files.hpp"
#include "announcements/settings_store.hpp"
#include "loading/load_job.hpp"
#include "loading/package_reader.hpp"
#include "tests/loading/loading_helpers.hpp"

namespace zta {
namespace {

using test::record;
using test::sound_for;
using test::temp_folder;

// Reads the package's head into the station and runs the file step to its end.
load_tally load_file(station& st, const std::vector<std::uint8_t>& bytes, const temp_folder& dir,
                     const std::string& name = "p.vrx") {
  dir.write(name, bytes);
  file_handle f = open_for_read(dir.file(name));
  EXPECT_EQ(read_package_header(st, f.get()), package_error::none);
  clip_cleanup(st);
  dlexe job(st);
  job.begin_sections(std::move(f));
  test::run_to_end(job);
  return job.tally();
}

const ann_blk* find(const station& st, std::int32_t stamp) {
  for (const ann_blk& a : st.content.list) {
    if (a.id_stamp == stamp) return &a;
  }
  return nullptr;
}

TEST(FileStep, PackageSoundsDecodeToTheEncodersReconstruction) {
  temp_folder dir;
  station st(dir.path(), test::test_now);
  package_build b;
  b.records = {record("eight", 11, 9000), record("twelve", 12, 4096 * 3 + 5),
               record("empty", 13, 0)};
  std::vector<package_sound> sounds = {sound_for(b.records[0], false, 1),
                                       sound_for(b.records[1], true, 2),
                                       sound_for(b.records[2], false, 3)};
  load_tally t = load_file(st, build_package_file(b, sounds), dir);
  EXPECT_EQ(t.attached, 3);
  EXPECT_FALSE(t.ended_early);
  for (std::size_t i = 0; i < sounds.size(); ++i) {
    const ann_blk* a = find(st, sounds[i].id_stamp);
    ASSERT_NE(a, nullptr);
    ASSERT_TRUE(valid_clip(a->clip));
    EXPECT_EQ(st.clip_use[static_cast<std::size_t>(a->clip)] & clip_allocated, clip_allocated);
    EXPECT_EQ(test::clip_samples(dir, a->clip), sounds[i].code.reconstruction) << i;
  }
}

TEST(FileStep, ChecksumFailureAndUnknownIdentityLeaveTheNumberFree) {
  temp_folder dir;
  station st(dir.path(), test::test_now);
  package_build b;
  b.records = {record("good", 21, 500)};
  package_sound bad = sound_for(record("bad", 21, 500), false, 4);
  bad.code.checksum ^= 0x5A;
  package_sound stranger = sound_for(record("stranger", 99, 300), false, 5);
  package_sound good = sound_for(b.records[0], false, 6);
  load_tally t = load_file(st, build_package_file(b, {bad, stranger, good}), dir);
  EXPECT_EQ(t.checksum_failures, 1);
  EXPECT_EQ(t.unmatched, 2);
  EXPECT_EQ(t.attached, 1);
  // Both failures wrote clip 0 and left it unallocated, so the good sound took 0 as well.
  EXPECT_EQ(st.content.list[0].clip, 0);
  EXPECT_EQ(test::clip_samples(dir, 0), good.code.reconstruction);
}

// 4096 code bytes of width-0 groups: the checksum byte is the first byte of the second block,
// and the next section header follows it.
TEST(FileStep, ChecksumByteAtTheStartOfABlock) {
  temp_folder dir;
  station st(dir.path(), test::test_now);
  package_build b;
  b.records = {record("silence", 201, 65536), record("after", 202, 333)};
  package_sound silence{201, 65536, {}};
  silence.code.code.assign(code_block_size, 0);
  silence.code.checksum = 125;
  package_sound after = sound_for(b.records[1], true, 41);
  load_tally t = load_file(st, build_package_file(b, {silence, after}), dir);
  EXPECT_EQ(t.attached, 2);
  EXPECT_EQ(t.checksum_failures, 0);
  EXPECT_EQ(test::clip_samples(dir, find(st, 201)->clip), std::vector<std::int16_t>(65536, 0));
  EXPECT_EQ(test::clip_samples(dir, find(st, 202)->clip), after.code.reconstruction);
}

// Two records with their sounds: 700 samples at 8 bits, then 6000 at 12 bits.
struct two_sounds {
  package_build build;
  std::vector<package_sound> sounds;
  std::vector<std::uint8_t> file;
};

two_sounds two_sound_package(std::int32_t first_stamp, std::uint32_t seed) {
  two_sounds t;
  t.build.records = {record("first", first_stamp, 700), record("second", first_stamp + 1, 6000)};
  t.sounds = {sound_for(t.build.records[0], false, seed),
              sound_for(t.build.records[1], true, seed + 1)};
  t.file = build_package_file(t.build, t.sounds);
  return t;
}

TEST(FileStep, FileEndingInsideASectionEndsTheLoad) {
  const two_sounds p = two_sound_package(31, 7);
  const auto& sounds = p.sounds;
  const auto& whole = p.file;
  // Cut: without the last checksum byte (which once looped for ever), mid-code, or inside the
  // second section's header (then the file simply has no more sections).
  const std::size_t into_header = sounds[1].code.code.size() + 6;
  for (auto [cut, early] :
       {std::pair<std::size_t, bool>{1, true}, {100, true}, {into_header, false}}) {
    temp_folder dir;
    station st(dir.path(), test::test_now);
    std::vector<std::uint8_t> bytes(whole.begin(), whole.end() - static_cast<long>(cut));
    load_tally t = load_file(st, bytes, dir);
    EXPECT_EQ(t.attached, 1) << cut;
    EXPECT_EQ(t.ended_early, early) << cut;
    EXPECT_EQ(find(st, 32)->clip, -1) << cut;
  }
}

TEST(FileStep, DamagedSectionHeaderEndsTheLoad) {
  temp_folder dir;
  station st(dir.path(), test::test_now);
  package_build b;
  b.records = {record("x", 41, 10)};
  auto bytes = build_package_head(b);
  write_section_header(bytes, 41, std::numeric_limits<std::int32_t>::min(), 0);
  bytes.insert(bytes.end(), 64, 0);
  load_tally t = load_file(st, bytes, dir);
  EXPECT_TRUE(t.ended_early);
  EXPECT_EQ(t.attached, 0);
}

TEST(FileStep, IdentitiesReusedAcrossLoadsKeepTheirClips) {
  temp_folder dir;
  station st(dir.path(), test::test_now);
  ann_blk mine = package_record_defaults();
  mine.set_name("Mine");
  mine.user_made = 1;
  mine.clip = 50;
  st.content.list.push_back(mine);
  st.clip_use[50] = clip_allocated;
  dir.write("afl050.aud", std::vector<std::uint8_t>{1, 2});

  package_build first;
  first.records = {record("A", 51, 800), record("B", 52, 900)};
  load_file(st,
            build_package_file(first, {sound_for(first.records[0], false, 9),
                                       sound_for(first.records[1], false, 10)}),
            dir);
  const int clip_a = find(st, 51)->clip;
  const int clip_b = find(st, 52)->clip;
  ASSERT_TRUE(valid_clip(clip_a) && valid_clip(clip_b));
  const auto sound_a = test::clip_samples(dir, clip_a);

  // The next package keeps A (no new sound for it), drops B and brings C.
  package_build second;
  second.records = {record("A", 51, 800), record("C", 53, 400)};
  load_tally t =
      load_file(st, build_package_file(second, {sound_for(second.records[1], true, 11)}), dir);
  EXPECT_EQ(t.attached, 1);
  ASSERT_EQ(st.content.list.count(), 3);
  EXPECT_EQ(st.content.list[0].id_stamp, 51);
  EXPECT_EQ(st.content.list[0].clip, clip_a);
  EXPECT_EQ(test::clip_samples(dir, clip_a), sound_a);
  EXPECT_EQ(st.content.list[1].id_stamp, 53);
  EXPECT_TRUE(valid_clip(st.content.list[1].clip));
  EXPECT_EQ(st.content.list[2].name_text(), "Mine") << "user-made records survive the merge";
  EXPECT_EQ(st.content.list[2].clip, 50);
  EXPECT_TRUE(dir.exists("afl050.aud"));
  EXPECT_EQ(st.content.list[1].clip, clip_b) << "B's released number is reused for C";
}

TEST(FileStep, NewSoundReplacesTheClipOfTheSameIdentity) {
  temp_folder dir;
  station st(dir.path(), test::test_now);
  ann_blk old = package_record_defaults();
  old.id_stamp = 111;
  old.id_serial = 640;
  old.clip = 5;
  st.content.list.push_back(old);
  st.clip_use[5] = clip_allocated;
  dir.write("afl005.aud", std::vector<std::uint8_t>{9, 9});
  package_build b;
  b.records = {record("again", 111, 640)};
  package_sound s = sound_for(b.records[0], false, 40);
  load_tally t = load_file(st, build_package_file(b, {s}), dir);
  EXPECT_EQ(t.attached, 1);
  const int now_clip = st.content.list[0].clip;
  EXPECT_NE(now_clip, 5);
  EXPECT_EQ(test::clip_samples(dir, now_clip), s.code.reconstruction);
  clip_cleanup(st);
  EXPECT_FALSE(dir.exists("afl005.aud")) << "no longer referenced: the clean-up deletes it";
  EXPECT_TRUE(dir.exists("afl00" + std::to_string(now_clip) + ".aud"));
}

// --- disk form ---------------------------------------------------------------------------

struct disk_world {
  temp_folder data;
  temp_folder disk1;
  temp_folder disk2;
  station st{data.path(), test::test_now};
};

// Writes a disk: data.npd and the given pieces as a.aud, b.aud, ...
void write_disk(const temp_folder& disk, const std::vector<std::uint8_t>& npd,
                const std::vector<std::vector<std::uint8_t>>& pieces) {
  std::filesystem::remove_all(disk.path());
  std::filesystem::create_directories(disk.path());
  disk.write("data.npd", npd);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    disk.write(std::string(1, static_cast<char>('a' + i)) + ".aud", pieces[i]);
  }
}

// Loads a disk; with `save_between_steps` the settings file is saved between every two steps,
// as the idle save does inside the progress dialog's loop.
load_tally load_disk(station& st, const temp_folder& disk, bool save_between_steps = false) {
  file_handle f = open_for_read(disk.file("data.npd"));
  EXPECT_EQ(read_package_header(st, f.get()), package_error::none);
  clip_cleanup(st);
  dlexe job(st);
  job.begin_pieces(disk.path());
  if (save_between_steps) {
    while (job.step()) save_settings(st);
  } else {
    test::run_to_end(job);
  }
  return job.tally();
}

// A piece of a section: header then the stream bytes [from, to) of code + checksum.
std::vector<std::uint8_t> piece(const package_sound& s, std::size_t from, std::size_t to) {
  std::vector<std::uint8_t> out;
  write_section_header(out, s.id_stamp, s.k,
                       static_cast<std::int32_t>(std::min(from, s.code.code.size())));
  for (std::size_t i = from; i < to; ++i) {
    out.push_back(i < s.code.code.size() ? s.code.code[i] : s.code.checksum);
  }
  return out;
}

TEST(DiskStep, PiecesOfOneDiskAreJoinedInOneLoad) {
  disk_world w;
  package_build b;
  b.records = {record("long", 61, 20000), record("short", 62, 100)};
  package_sound big = sound_for(b.records[0], true, 12);
  package_sound small = sound_for(b.records[1], false, 13);
  const std::size_t total = big.code.code.size() + 1;
  write_disk(
      w.disk1, build_package_head(b),
      {piece(big, 0, 5000), piece(big, 5000, total), piece(small, 0, small.code.code.size() + 1)});
  load_tally t = load_disk(w.st, w.disk1);
  EXPECT_EQ(t.attached, 2);
  EXPECT_EQ(test::clip_samples(w.data, find(w.st, 61)->clip), big.code.reconstruction);
  EXPECT_EQ(test::clip_samples(w.data, find(w.st, 62)->clip), small.code.reconstruction);
}

TEST(DiskStep, LaterDiskFirstIsKeptAsATemporaryPiece) {
  disk_world w;
  package_build b;
  b.records = {record("long", 71, 30000)};
  package_sound big = sound_for(b.records[0], false, 14);
  const std::size_t total = big.code.code.size() + 1;
  const std::size_t split = 4096 * 2 + 7;
  const auto npd = build_package_head(b);
  write_disk(w.disk2, npd, {piece(big, split, total)});
  load_tally t2 = load_disk(w.st, w.disk2);
  EXPECT_EQ(t2.pieces_stored, 1);
  EXPECT_EQ(find(w.st, 71)->clip, -1);
  EXPECT_TRUE(w.data.exists("a.tmp"));

  write_disk(w.disk1, npd, {piece(big, 0, split)});
  load_tally t1 = load_disk(w.st, w.disk1);
  EXPECT_EQ(t1.attached, 1);
  ASSERT_TRUE(valid_clip(find(w.st, 71)->clip));
  EXPECT_EQ(test::clip_samples(w.data, find(w.st, 71)->clip), big.code.reconstruction);
  EXPECT_EQ(w.st.pieces.temporary[0].stored_at, 0) << "used up: the next clean-up deletes it";
  clip_cleanup(w.st);
  EXPECT_FALSE(w.data.exists("a.tmp"));
}

TEST(DiskStep, FirstDiskFirstLeavesAPartialSoundUntilTheChecksum) {
  disk_world w;
  package_build b;
  b.records = {record("long", 81, 12000)};
  package_sound big = sound_for(b.records[0], true, 15);
  const std::size_t code = big.code.code.size();
  const auto npd = build_package_head(b);
  // Every code byte on disk 1; only the checksum byte on disk 2.
  write_disk(w.disk1, npd, {piece(big, 0, code)});
  load_tally t1 = load_disk(w.st, w.disk1);
  EXPECT_EQ(t1.attached, 0) << "not attached before its checksum byte is read";
  EXPECT_EQ(t1.partial_saved, 1);
  const int clip = w.st.pieces.partial[0].clip;
  ASSERT_TRUE(valid_clip(clip));
  EXPECT_EQ(w.st.clip_use[static_cast<std::size_t>(clip)] & clip_allocated, clip_allocated);
  EXPECT_EQ(find(w.st, 81)->clip, -1);

  write_disk(w.disk2, npd, {piece(big, code, code + 1)});
  load_tally t2 = load_disk(w.st, w.disk2);
  EXPECT_EQ(t2.attached, 1);
  EXPECT_EQ(find(w.st, 81)->clip, clip);
  EXPECT_EQ(test::clip_samples(w.data, clip), big.code.reconstruction);
  EXPECT_EQ(w.st.pieces.partial[0].clip, -1);
}

TEST(DiskStep, FifthPendingPieceAndFifthPartialSoundTakeTheOldestSlot) {
  disk_world w;
  package_build b;
  std::vector<package_sound> sounds;
  for (int i = 0; i < 5; ++i) {
    b.records.push_back(record("s" + std::to_string(i), 90 + i, 3000));
    sounds.push_back(sound_for(b.records.back(), false, 20 + static_cast<std::uint32_t>(i)));
  }
  const auto npd = build_package_head(b);
  std::vector<std::vector<std::uint8_t>> firsts, seconds;
  for (const auto& s : sounds) {
    firsts.push_back(piece(s, 0, 1000));
    seconds.push_back(piece(s, 1000, s.code.code.size() + 1));
  }
  write_disk(w.disk1, npd, firsts);
  load_tally t = load_disk(w.st, w.disk1);
  EXPECT_EQ(t.partial_saved, 5);
  // Sound 4 decoded into clip 4, then took the oldest slot and released sound 0's clip 0.
  EXPECT_EQ(w.st.pieces.partial[0].id_stamp, 94);
  EXPECT_EQ(w.st.pieces.partial[0].clip, 4);
  EXPECT_EQ(w.st.clip_use[0] & clip_allocated, 0);
  EXPECT_FALSE(w.data.exists("afl000.aud"));
  EXPECT_EQ(w.st.pieces.partial[1].id_stamp, 91);

  disk_world v;
  write_disk(v.disk2, npd, seconds);
  load_tally t2 = load_disk(v.st, v.disk2);
  EXPECT_EQ(t2.pieces_stored, 5);
  EXPECT_EQ(v.st.pieces.temporary[0].id_stamp, 94) << "the fifth overwrote the oldest slot";
  EXPECT_EQ(v.st.pieces.temporary[1].id_stamp, 91);
  write_disk(v.disk1, npd, firsts);
  load_tally t1 = load_disk(v.st, v.disk1);
  EXPECT_EQ(t1.attached, 4) << "sound 0's continuation was lost";
  EXPECT_EQ(find(v.st, 90)->clip, -1);
  EXPECT_EQ(test::clip_samples(v.data, find(v.st, 94)->clip), sounds[4].code.reconstruction);
}

TEST(DiskStep, PiecesForNoWaitingAnnouncementAreSkipped) {
  disk_world w;
  package_build b;
  b.records = {record("one", 101, 200)};
  package_sound s = sound_for(b.records[0], false, 30);
  package_sound other = sound_for(record("other", 102, 200), false, 31);
  std::vector<std::uint8_t> short_header = {1, 2, 3};
  std::vector<std::uint8_t> no_magnitude;
  write_section_header(no_magnitude, 101, std::numeric_limits<std::int32_t>::min(), 0);
  no_magnitude.push_back(0);
  write_disk(w.disk1, build_package_head(b),
             {short_header, no_magnitude, piece(other, 0, other.code.code.size() + 1),
              piece(s, 0, s.code.code.size() + 1), piece(s, 0, s.code.code.size() + 1)});
  load_tally t = load_disk(w.st, w.disk1);
  EXPECT_EQ(t.attached, 1);
  EXPECT_EQ(t.pieces_skipped, 2) << "the stranger, and the repeat once the sound is there";
}

TEST(LoadPieces, ReleasedAtExit) {
  disk_world w;
  w.st.pieces.temporary[2] = temp_piece{1, 2, 3, test::test_now};
  w.data.write("c.tmp", std::vector<std::uint8_t>{1});
  w.st.pieces.partial[1].clip = 7;
  w.st.clip_use[7] = clip_allocated;
  w.data.write("afl007.aud", std::vector<std::uint8_t>{1, 2});
  release_pieces(w.st);
  EXPECT_FALSE(w.data.exists("c.tmp"));
  EXPECT_FALSE(w.data.exists("afl007.aud"));
  EXPECT_EQ(w.st.clip_use[7], 0);
}

}  // namespace
}  // namespace zta

// --- a sound's fate when its clip cannot be written or kept -------------------------------

namespace zta {
namespace {

TEST(DiskStep, SaveBetweenStepsKeepsTheResumedPartialSound) {
  disk_world w;
  package_build b;
  b.records = {record("long", 121, 30000)};
  package_sound big = sound_for(b.records[0], false, 50);
  const std::size_t split = 4096 * 2 + 3;
  const auto npd = build_package_head(b);
  write_disk(w.disk1, npd, {piece(big, 0, split)});
  load_disk(w.st, w.disk1);
  const int clip = w.st.pieces.partial[0].clip;
  ASSERT_TRUE(valid_clip(clip));
  write_disk(w.disk2, npd, {piece(big, split, big.code.code.size() + 1)});
  load_tally t = load_disk(w.st, w.disk2, true);
  EXPECT_EQ(t.attached, 1);
  EXPECT_EQ(find(w.st, 121)->clip, clip);
  EXPECT_EQ(test::clip_samples(w.data, clip), big.code.reconstruction)
      << "the clean-up of a save deleted the clip being filled";
  save_settings(w.st);
  EXPECT_TRUE(w.data.exists("afl00" + std::to_string(clip) + ".aud"));
}

TEST(FileStep, SaveBetweenStepsKeepsEveryClip) {
  temp_folder dir;
  station st(dir.path(), test::test_now);
  package_build b;
  b.records = {record("a", 131, 9000), record("b", 132, 12000)};
  std::vector<package_sound> sounds = {sound_for(b.records[0], false, 51),
                                       sound_for(b.records[1], true, 52)};
  dir.write("p.vrx", build_package_file(b, sounds));
  file_handle f = open_for_read(dir.file("p.vrx"));
  ASSERT_EQ(read_package_header(st, f.get()), package_error::none);
  dlexe job(st);
  job.begin_sections(std::move(f));
  while (job.step()) save_settings(st);
  EXPECT_EQ(job.tally().attached, 2);
  for (const auto& s : sounds)
    EXPECT_EQ(test::clip_samples(dir, find(st, s.id_stamp)->clip), s.code.reconstruction);
}

// A clip file that takes no bytes: a link to the full device.
void make_unwritable_clip(const temp_folder& data, int clip) {
  char name[16];
  std::snprintf(name, sizeof name, "afl%.3d.aud", clip);
  std::filesystem::create_symlink("/dev/full", data.file(name));
}

TEST(DiskStep, WriteFailureBelongsToItsSoundAlone) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  disk_world w;
  package_build b;
  b.records = {record("broken", 141, 20000), record("good", 142, 3000)};
  package_sound broken = sound_for(b.records[0], false, 53);
  package_sound good = sound_for(b.records[1], false, 54);
  const std::size_t split = 6000;
  const auto npd = build_package_head(b);
  make_unwritable_clip(w.data, 0);  // the first sound's clip cannot be written
  write_disk(w.disk1, npd, {piece(broken, 0, split), piece(good, 0, good.code.code.size() + 1)});
  load_tally t1 = load_disk(w.st, w.disk1);
  EXPECT_EQ(t1.write_failures, 1);
  EXPECT_EQ(t1.attached, 1) << "the good sound after a failed partial is attached";
  ASSERT_TRUE(valid_clip(find(w.st, 142)->clip));
  EXPECT_EQ(test::clip_samples(w.data, find(w.st, 142)->clip), good.code.reconstruction);
  EXPECT_EQ(t1.partial_saved, 0) << "a sound with samples missing is not kept to continue";

  // Even once its clip could be written, the rest never completes the broken sound.
  std::filesystem::remove(w.data.file("afl000.aud"));
  w.data.write("afl000.aud", std::vector<std::uint8_t>{});
  write_disk(w.disk2, npd, {piece(broken, split, broken.code.code.size() + 1)});
  load_disk(w.st, w.disk2);
  EXPECT_EQ(find(w.st, 141)->clip, -1);
}

TEST(DiskStep, FailedReopenKeepsThePartialSound) {
  disk_world w;
  package_build b;
  b.records = {record("long", 151, 20000)};
  package_sound big = sound_for(b.records[0], false, 55);
  const std::size_t split = 5000;
  const auto npd = build_package_head(b);
  write_disk(w.disk1, npd, {piece(big, 0, split)});
  load_disk(w.st, w.disk1);
  const int clip = w.st.pieces.partial[0].clip;
  ASSERT_TRUE(valid_clip(clip));
  const std::string clip_file = clip_path(w.st, clip);
  std::filesystem::rename(clip_file, w.data.file("aside"));
  std::filesystem::create_directory(clip_file);  // the clip cannot be opened again

  write_disk(w.disk2, npd, {piece(big, split, big.code.code.size() + 1)});
  load_tally failed = load_disk(w.st, w.disk2);
  EXPECT_TRUE(failed.ended_early);
  EXPECT_EQ(failed.stopped, load_stop::clip_not_created);
  EXPECT_EQ(w.st.pieces.partial[0].clip, clip) << "the partial sound is kept";
  EXPECT_EQ(w.st.clip_use[static_cast<std::size_t>(clip)] & clip_allocated, clip_allocated);

  std::filesystem::remove(clip_file);
  std::filesystem::rename(w.data.file("aside"), clip_file);
  load_tally again = load_disk(w.st, w.disk2);
  EXPECT_EQ(again.attached, 1);
  EXPECT_EQ(test::clip_samples(w.data, clip), big.code.reconstruction);
}

TEST(FileStep, EarlyEndSaysWhy) {
  const two_sounds p = two_sound_package(161, 56);
  const auto& whole = p.file;
  auto damaged = build_package_head(p.build);
  write_section_header(damaged, 161, std::numeric_limits<std::int32_t>::min(), 0);
  damaged.insert(damaged.end(), 64, 0);
  struct early_case {
    const char* label;
    std::vector<std::uint8_t> bytes;
    std::function<void(station&, const temp_folder&)> prepare;
    load_stop why;
  };
  const early_case cases[] = {
      {"complete", whole, {}, load_stop::none},
      {"cut", std::vector<std::uint8_t>(whole.begin(), whole.end() - 100), {}, load_stop::file_cut},
      {"damaged_header", damaged, {}, load_stop::damaged_header},
      {"no_free_clip", whole,
       [](station& st, const temp_folder&) {
         for (auto& bits : st.clip_use) bits = clip_held;
       },
       load_stop::no_free_clip},
      {"clip_not_created", whole,
       [](station&, const temp_folder& dir) {
         std::filesystem::create_directory(dir.file("afl000.aud"));
       },
       load_stop::clip_not_created},
  };
  for (const early_case& c : cases) {
    temp_folder dir;
    station st(dir.path(), test::test_now);
    if (c.prepare) c.prepare(st, dir);
    dir.write("p.vrx", c.bytes);
    file_handle f = open_for_read(dir.file("p.vrx"));
    ASSERT_EQ(read_package_header(st, f.get()), package_error::none) << c.label;
    dlexe job(st);
    job.begin_sections(std::move(f));
    test::run_to_end(job);
    EXPECT_EQ(job.tally().stopped, c.why) << c.label;
    EXPECT_EQ(job.tally().ended_early, c.why != load_stop::none) << c.label;
    EXPECT_EQ(std::string(load_stop_text(c.why)).empty(), c.why == load_stop::none) << c.label;
  }
}

}  // namespace
}  // namespace zta
