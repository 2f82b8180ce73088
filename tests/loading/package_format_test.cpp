// Package header, content sections and records: the checks, their messages, the fixture.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "announcements/clip_files.hpp"
#include "loading/package_reader.hpp"
#include "loading/package_writer.hpp"
#include "tests/loading/loading_helpers.hpp"

namespace zta {
namespace {

using test::temp_folder;

std::vector<std::uint8_t> fixture(const std::string& name) {
  std::ifstream in(std::string(ZTA_FIXTURES) + "/loading/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

package_error read_bytes(station& st, const std::vector<std::uint8_t>& bytes, long* pos = nullptr) {
  std::FILE* f = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::rewind(f);
  package_error e = read_package_header(st, f);
  if (pos != nullptr) *pos = std::ftell(f);
  std::fclose(f);
  return e;
}

std::vector<std::uint8_t> with_header(std::int32_t version, std::int32_t flags,
                                      const std::vector<std::uint8_t>& content,
                                      std::int32_t length_override = -1) {
  package_header h;
  h.version = version;
  h.content_length =
      length_override >= 0 ? length_override : static_cast<std::int32_t>(content.size());
  h.flags = flags;
  h.checksum = content_checksum(content);
  std::vector<std::uint8_t> out(package_header_size);
  encode_package_header(h, std::span<std::uint8_t, package_header_size>(out.data(), out.size()));
  out.insert(out.end(), content.begin(), content.end());
  return out;
}

// The fixture is written field by field from the package tables by make_small_v1.py.
TEST(PackageFixture, SmallVersion1PackageReadsAndRebuildsByteForByte) {
  const auto bytes = fixture("small_v1.vrx");
  ASSERT_EQ(bytes.size(), 171u);
  temp_folder dir;
  station st(dir.path(), test::test_now);
  long pos = 0;
  ASSERT_EQ(read_bytes(st, bytes, &pos), package_error::none);
  EXPECT_EQ(pos, 22 + 4 + 116) << "positioned after the content, at the first section";
  ASSERT_EQ(st.content.list.count(), 2);
  const ann_blk& a = st.content.list[0];
  EXPECT_EQ(a.name_text(), "Store closing");
  EXPECT_EQ(a.id_stamp, 1700000000);
  EXPECT_EQ(a.id_serial, 4);
  EXPECT_EQ(a.commence, 1600000000);
  EXPECT_EQ(a.expiry, 1900000000);
  EXPECT_EQ(a.day_from, 3600);
  EXPECT_EQ(a.day_to, 72000);
  EXPECT_EQ(a.weekdays, 0x3E);
  EXPECT_EQ(a.fixed_times, (std::vector<std::int32_t>{36000, 61200}));
  EXPECT_EQ(a.autoplay, -1);
  EXPECT_EQ(a.script, "Closing in ten minutes.");
  EXPECT_EQ(a.chimes, 0);
  EXPECT_EQ(a.confirm, 1);
  EXPECT_EQ(a.manual, 0);
  EXPECT_EQ(a.user_made, 0);
  EXPECT_EQ(a.clip, -1);
  ann_blk b = package_record_defaults();
  b.set_name("Silence");
  b.id_stamp = 1700000001;
  EXPECT_EQ(st.content.list[1], b);
  EXPECT_EQ(st.content.notice, (updateinfo{1800000000, 86400, "New offers"}));

  package_build build;
  build.version = 1;
  build.customers = {4242};
  package_record_spec full = test::record("Store closing", 1700000000, 4);
  full.commence = 1600000000;
  full.expiry = 1900000000;
  full.day_from = 3600;
  full.day_to = 72000;
  full.weekdays = 0x3E;
  full.fixed_times = {36000, 61200};
  full.autoplay = -1;
  full.script = "Closing in ten minutes.";
  full.chimes = false;
  full.confirm = true;
  full.manual = false;
  build.records = {full, test::record("Silence", 1700000001, 0)};
  build.notice = package_notice{1800000000, 86400, "New offers"};
  package_sound s1{1700000000, 4, {}};
  s1.code.code = {0x4D, 0xB4, 0xF0};
  s1.code.checksum = 110;
  package_sound s2{1700000001, 0, {}};
  EXPECT_EQ(build_package_file(build, {s1, s2}), bytes);
}

struct header_case {
  const char* what;
  std::vector<std::uint8_t> bytes;
  package_error expected;
};

TEST(PackageHeader, ChecksAndTheirMessages) {
  const std::vector<std::uint8_t> empty_list = {0};
  std::vector<std::uint8_t> big(32768, 0);  // 32768 content bytes: list count 0, then padding
  auto bad_sum = with_header(1, 4, empty_list);
  bad_sum[20] ^= 1;
  auto addressed = with_header(1, 4, empty_list);
  store_le<std::int32_t>(&addressed[8], -2);
  addressed.insert(addressed.begin() + 22, 8, 0x55);
  auto cut_addressees = with_header(1, 4, {});
  store_le<std::int32_t>(&cut_addressees[8], -4096);
  std::vector<header_case> cases = {
      {"21 header bytes", std::vector<std::uint8_t>(21, 0), package_error::header},
      {"version 2", with_header(2, 4, empty_list), package_error::unsupported},
      {"version -1", with_header(-1, 4, empty_list), package_error::unsupported},
      {"version 0", with_header(0, 4, empty_list), package_error::none},
      {"content length 32768", with_header(1, 4, big), package_error::none},
      {"content length 32769", with_header(1, 4, big, 32769), package_error::length},
      {"negative content length", with_header(1, 4, {}, 0x7FFFFFFF), package_error::length},
      {"checksum mismatch", bad_sum, package_error::corrupted},
      {"content shorter than its length", with_header(1, 4, empty_list, 2),
       package_error::corrupted},
      {"flags 12", with_header(1, 12, {0, 0xFF, 0xFF, 0xFF, 0x7F}), package_error::none},
      {"flags 0", with_header(1, 0, {}), package_error::none},
      {"flags 16", with_header(1, 16, {}), package_error::sections},
      {"flags 5", with_header(1, 5, empty_list), package_error::sections},
      {"addressee list skipped", addressed, package_error::none},
      {"addressee list cut off", cut_addressees, package_error::header},
  };
  store_le<std::int32_t>(&cases[6].bytes[4], -1);
  for (const auto& c : cases) {
    temp_folder dir;
    station st(dir.path(), test::test_now);
    EXPECT_EQ(read_bytes(st, c.bytes), c.expected) << c.what;
  }
  EXPECT_STREQ(package_error_text(package_error::header), "File header error.");
  EXPECT_STREQ(package_error_text(package_error::length),
               "File length error - most likely a corrupted file. Please contact your supplier.");
  EXPECT_STREQ(package_error_text(package_error::corrupted),
               "Corrupted File. Contact your supplier.");
  const char* unsupported =
      "This file is not supported by this version software. Please either contact your supplier "
      "for the most uptodate version of this software.";
  EXPECT_STREQ(package_error_text(package_error::unsupported), unsupported);
  EXPECT_STREQ(package_error_text(package_error::sections), unsupported);
}

// A station with one user-made and one delivered announcement, to see that nothing changes.
station prepared_station(const temp_folder& dir) {
  station st(dir.path(), test::test_now);
  ann_blk user = package_record_defaults();
  user.set_name("Mine");
  user.user_made = 1;
  st.content.list.push_back(user);
  ann_blk delivered = package_record_defaults();
  delivered.set_name("Old");
  st.content.list.push_back(delivered);
  st.content.notice = updateinfo{test::test_now + 100, 0, "pending"};
  return st;
}

TEST(PackageContent, RecordsThatRunPastTheContentChangeNothing) {
  // One record whose script length claims more bytes than the content has, and variants.
  std::vector<std::uint8_t> name_too_long = {1, 200, 'a', 'b'};
  std::vector<std::uint8_t> script_too_long = {1, 1, 'X', 1,    0, 0,    0,    0,
                                               0, 0, 0,   0x40, 0, 0xFF, 0xFF, 'z'};
  std::vector<std::uint8_t> times_too_many = {1, 0,    1, 0,  0, 0, 0, 0, 0,
                                              0, 0x20, 0, 50, 1, 2, 3, 4};
  std::vector<std::uint8_t> count_too_big = {3, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  std::vector<std::uint8_t> notice_cut = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 0, 'a'};
  std::vector<std::uint8_t> no_count = {};
  for (const auto& [content, flags] :
       std::vector<std::pair<std::vector<std::uint8_t>, int>>{{name_too_long, 4},
                                                              {script_too_long, 4},
                                                              {times_too_many, 4},
                                                              {count_too_big, 4},
                                                              {notice_cut, 12},
                                                              {no_count, 4}}) {
    temp_folder dir;
    station st = prepared_station(dir);
    const auto before = st.content.list.count();
    EXPECT_EQ(read_bytes(st, with_header(1, flags, content)), package_error::corrupted);
    EXPECT_EQ(st.content.list.count(), before);
    EXPECT_EQ(st.content.list[1].name_text(), "Old");
    EXPECT_EQ(st.content.notice.text, "pending");
  }
}

TEST(PackageContent, RecordFieldsByVersionAndLength) {
  // Version 0: no option byte, so confirm 0 and manual 1. Name length 40: 31 kept, 40 skipped.
  std::vector<std::uint8_t> content = {1, 40};
  for (int i = 0; i < 40; ++i) content.push_back(static_cast<std::uint8_t>('A' + i % 26));
  for (std::uint8_t b : {7, 0, 0, 0, 9, 0, 0, 0, 0x18, 0x41}) content.push_back(b);
  temp_folder dir;
  station st = prepared_station(dir);
  ASSERT_EQ(read_bytes(st, with_header(0, 4, content)), package_error::none);
  ASSERT_EQ(st.content.list.count(), 2) << "the new record, then the surviving user-made one";
  const ann_blk& a = st.content.list[0];
  EXPECT_EQ(a.name_text(), "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDE");
  EXPECT_EQ(a.id_stamp, 7);
  EXPECT_EQ(a.id_serial, 9);
  EXPECT_EQ(a.chimes, 0);
  EXPECT_EQ(a.weekdays, 0x41);
  EXPECT_EQ(a.confirm, 0);
  EXPECT_EQ(a.manual, 1);
  EXPECT_EQ(st.content.list[1].name_text(), "Mine");
  EXPECT_EQ(st.content.notice.text, "pending") << "no notice section";
}

TEST(PackageContent, NoticeAndNegativeCount) {
  // Count -1 leaves the list alone; a notice of 0x7FFFFFFF is 4 bytes and clears the notice.
  temp_folder dir;
  station st = prepared_station(dir);
  ASSERT_EQ(read_bytes(st, with_header(1, 12, {0xFF, 0xFF, 0xFF, 0xFF, 0x7F})),
            package_error::none);
  EXPECT_EQ(st.content.list.count(), 2);
  EXPECT_EQ(st.content.list[1].name_text(), "Old");
  EXPECT_EQ(st.content.notice, updateinfo{});

  // A next show in the past moves to now + repeat; the sum is guarded against passing never.
  std::vector<std::uint8_t> past;
  byte_writer w(past);
  write_package_notice(w, {100, 3600, "hello"});
  ASSERT_EQ(read_bytes(st, with_header(1, 8, past)), package_error::none);
  EXPECT_EQ(st.content.notice, (updateinfo{test::test_now + 3600, 3600, "hello"}));
  past.clear();
  write_package_notice(w, {100, 0x7FFFFFF0, "late"});
  ASSERT_EQ(read_bytes(st, with_header(1, 8, past)), package_error::none);
  EXPECT_EQ(st.content.notice.next_show, moment_never);
}

}  // namespace
}  // namespace zta
