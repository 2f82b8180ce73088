// The remote control folder: listing bytes, request files and the folder hand-over.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "announcements/remote_folder.hpp"
#include "tests/common/announcement_maker.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> read_bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void write_bytes(const fs::path& p, const std::vector<std::uint8_t>& b) {
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

std::vector<std::uint8_t> request(std::int32_t kind, const std::string& text) {
  std::vector<std::uint8_t> b(38, 0);
  for (int i = 0; i < 4; ++i) b[i] = static_cast<std::uint8_t>(kind >> (8 * i));
  for (std::size_t i = 0; i < text.size() && 6 + i < b.size(); ++i) {
    b[6 + i] = static_cast<std::uint8_t>(text[i]);
  }
  return b;
}

class RemoteFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = folder.root();
    fs::create_directories(dir / "data");
    fs::create_directories(dir / "ctl");
    st.data_folder = (dir / "data").string() + "/";
    st.clock.set(1700000000);
  }
  ann_blk& add(const char* name, bool manual = true) {
    ann_blk a = zta::test::always_current(name, st.content.list.count());
    a.manual = manual ? 1 : 0;
    a.id_stamp = 1000 + st.content.list.count();
    a.id_serial = 10;
    st.content.list.push_back(a);
    return st.content.list[st.content.list.count() - 1];
  }
  fs::path ctl() const { return dir / "ctl"; }
  void turn_on() { ASSERT_EQ(remote.set_control_folder(st, ctl().string()), folder_result::on); }

  zta::test::temp_folder folder;  // removed with everything in it
  fs::path dir;
  station st;
  remote_folder remote;
};

TEST_F(RemoteFolderTest, ListingBytesHoldCurrentManualAnnouncementsOnly) {
  ann_blk& a = add("Sale");
  a.confirm = 1;
  a.script = std::string(300, 'x');
  add("Hidden", false);
  add("Expired").expiry = 1600000000;
  add("Plain");
  turn_on();

  std::vector<std::uint8_t> expected(8 + 2 * 292, 0);
  expected[4] = 0x00, expected[5] = 0xF1, expected[6] = 0x53, expected[7] = 0x65;  // 1700000000
  expected[8] = 1;                                                                 // confirm
  std::copy_n("Sale", 4, expected.begin() + 8 + 4);
  std::fill_n(expected.begin() + 8 + 36, 255, 'x');  // script cut to 255, then NUL
  std::copy_n("Plain", 5, expected.begin() + 8 + 292 + 4);
  EXPECT_EQ(read_bytes(ctl() / "annlist.dat"), expected);
  EXPECT_EQ(remote.listed_count(), 2);
  EXPECT_EQ(remote.listed_sum(), 1000u + 10 + 1003 + 10);
}

TEST_F(RemoteFolderTest, ListedSumWrapsAt32Bits) {
  add("A").id_stamp = 0x7FFFFFFF;
  add("B").id_stamp = 0x7FFFFFFF;
  turn_on();
  EXPECT_EQ(remote.listed_sum(), static_cast<std::uint32_t>(0xFFFFFFFEull + 20));
}

TEST_F(RemoteFolderTest, ListingIsReplacedNotRewrittenInPlace) {
  add("One");
  turn_on();
  std::ifstream reader(ctl() / "annlist.dat", std::ios::binary);  // the remote side reading
  auto before = read_bytes(ctl() / "annlist.dat");
  add("Two");
  remote.write_listing(st);
  std::vector<std::uint8_t> seen{std::istreambuf_iterator<char>(reader), {}};
  EXPECT_EQ(seen, before);  // the open reader still sees the whole old listing
  EXPECT_EQ(read_bytes(ctl() / "annlist.dat").size(), 8u + 2 * 292);
  int files = 0;
  for ([[maybe_unused]] auto& e : fs::directory_iterator(ctl())) ++files;
  EXPECT_EQ(files, 1);  // no temporary file left behind
}

TEST_F(RemoteFolderTest, ByNameRequestTakesTheLastCurrentCaseInsensitiveMatch) {
  add("Sale");
  add("SALE", false);     // not listed, still playable
  add("sale").clip = -1;  // not current
  turn_on();
  write_bytes(ctl() / "a.ply", request(1, "sAlE"));
  remote_request r;
  ASSERT_TRUE(remote.poll_requests(st, r));
  EXPECT_EQ(r.kind, request_kind::by_name);
  EXPECT_EQ(r.index, 1);
  EXPECT_FALSE(fs::exists(ctl() / "a.ply"));
  write_bytes(ctl() / "b.ply", request(1, "Nothing"));
  EXPECT_FALSE(remote.poll_requests(st, r));
  EXPECT_FALSE(fs::exists(ctl() / "b.ply"));  // consumed
}

TEST_F(RemoteFolderTest, TenByteSoundFileRequestUsesWhatTheFileHeld) {
  turn_on();
  write_bytes(ctl() / "x.PLY", {2, 0, 0, 0, 9, 9, 'c', 'a', 'l', 'l'});
  remote_request r;
  ASSERT_TRUE(remote.poll_requests(st, r));
  EXPECT_EQ(r.kind, request_kind::sound_file);
  EXPECT_EQ(r.path, ctl().string() + "/call");
  EXPECT_FALSE(fs::exists(ctl() / "x.PLY"));
}

TEST_F(RemoteFolderTest, RequestTextStopsAtByte37) {
  turn_on();
  write_bytes(ctl() / "x.ply", request(2, std::string(40, 'n')));
  remote_request r;
  ASSERT_TRUE(remote.poll_requests(st, r));
  EXPECT_EQ(r.path, ctl().string() + "/" + std::string(31, 'n'));
}

TEST_F(RemoteFolderTest, ShortOrUnknownRequestsAreConsumedAndIgnored) {
  turn_on();
  for (auto bytes : {std::vector<std::uint8_t>{2, 0, 0}, request(3, "x"), request(0, "x")}) {
    write_bytes(ctl() / "q.ply", bytes);
    remote_request r;
    EXPECT_FALSE(remote.poll_requests(st, r));
    EXPECT_FALSE(fs::exists(ctl() / "q.ply"));
  }
}

class RefusedName : public RemoteFolderTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RefusedName, SoundFileNameWithAPathIsDroppedAndNothingIsTouched) {
  turn_on();
  write_bytes(dir / "victim", {1, 2, 3});
  fs::create_directories(ctl() / "sub");
  fs::create_symlink(dir / "victim", ctl() / "link");
  write_bytes(ctl() / "r.ply", request(2, GetParam()));
  remote_request r;
  EXPECT_FALSE(remote.poll_requests(st, r));
  EXPECT_FALSE(fs::exists(ctl() / "r.ply"));
  EXPECT_TRUE(fs::exists(dir / "victim"));
}

INSTANTIATE_TEST_SUITE_P(Remote, RefusedName,
                         ::testing::Values("../victim", "..", ".", "", "sub/../../victim",
                                           "..\\victim", "/etc/passwd", "sub", "link"),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(RemoteNames, PlainFileNames) {
  EXPECT_TRUE(is_plain_file_name("call.raw"));
  EXPECT_TRUE(is_plain_file_name("..call"));
  EXPECT_FALSE(is_plain_file_name("a/b"));
  EXPECT_FALSE(is_plain_file_name("a\\b"));
}

TEST_F(RemoteFolderTest, FolderHandOverClearsRequestsAndSoundFiles) {
  write_bytes(ctl() / "old.ply", {1});
  write_bytes(ctl() / "old.aud", {1});
  write_bytes(ctl() / "keep.txt", {1});
  std::string why;
  EXPECT_EQ(remote.set_control_folder(st, ctl().string() + "/\\  ", &why), folder_result::on);
  EXPECT_EQ(remote.folder(), ctl().string() + "/");
  EXPECT_EQ(remote.listing_path(), ctl().string() + "/annlist.dat");
  EXPECT_FALSE(fs::exists(ctl() / "old.ply"));
  EXPECT_FALSE(fs::exists(ctl() / "old.aud"));
  EXPECT_TRUE(fs::exists(ctl() / "keep.txt"));
  EXPECT_TRUE(why.empty());

  fs::create_directories(dir / "ctl2");
  write_bytes(ctl() / "late.aud", {1});
  EXPECT_EQ(remote.set_control_folder(st, (dir / "ctl2").string()), folder_result::on);
  EXPECT_FALSE(fs::exists(ctl() / "annlist.dat"));
  EXPECT_FALSE(fs::exists(ctl() / "late.aud"));
  EXPECT_TRUE(fs::exists(dir / "ctl2" / "annlist.dat"));

  EXPECT_EQ(remote.set_control_folder(st, "   "), folder_result::off);
  EXPECT_FALSE(remote.enabled());
  EXPECT_FALSE(fs::exists(dir / "ctl2" / "annlist.dat"));
  remote_request r;
  EXPECT_FALSE(remote.poll_requests(st, r));
}

TEST_F(RemoteFolderTest, MissingFolderStaysOnAndFailsSilently) {
  add("One");
  EXPECT_EQ(remote.set_control_folder(st, (dir / "absent").string()), folder_result::on);
  EXPECT_FALSE(fs::exists(dir / "absent"));
  remote_request r;
  EXPECT_FALSE(remote.poll_requests(st, r));
  EXPECT_EQ(remote.listed_count(), 0);
  fs::create_directories(dir / "absent");  // the share comes back
  EXPECT_FALSE(remote.poll_requests(st, r));
  EXPECT_EQ(remote.listed_count(), 1);
  EXPECT_TRUE(fs::exists(dir / "absent" / "annlist.dat"));
}

class RefusedFolder : public RemoteFolderTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RefusedFolder, DataFolderOrInsideItIsRefusedAndKeepsItsClips) {
  write_bytes(dir / "data" / "afl000.aud", {1, 2});
  write_bytes(dir / "data" / "chimes1.aud", {1, 2});
  fs::create_directories(dir / "data" / "sub");
  write_bytes(dir / "data" / "sub" / "x.aud", {1});
  std::string why;
  EXPECT_EQ(remote.set_control_folder(st, (dir / GetParam()).string(), &why),
            folder_result::refused_data);
  EXPECT_FALSE(remote.enabled());
  EXPECT_EQ(why, refused_data_folder_text);
  EXPECT_TRUE(fs::exists(dir / "data" / "afl000.aud"));
  EXPECT_TRUE(fs::exists(dir / "data" / "chimes1.aud"));
  EXPECT_TRUE(fs::exists(dir / "data" / "sub" / "x.aud"));
  EXPECT_FALSE(fs::exists(dir / "data" / "annlist.dat"));
}

INSTANTIATE_TEST_SUITE_P(Remote, RefusedFolder,
                         ::testing::Values("data", "data/", "data/sub", "ctl/../data",
                                           "data/./sub//"),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(RemoteFolderTest, RelativeFoldersAreTakenFromTheDataFolder) {
  const fs::path cwd = fs::current_path();
  fs::current_path(dir / "ctl");  // a relative folder must not depend on where we were started
  std::string why;
  EXPECT_EQ(remote.set_control_folder(st, "sub", &why), folder_result::refused_data);
  EXPECT_EQ(why, refused_data_folder_text);
  EXPECT_EQ(remote.set_control_folder(st, ".", &why), folder_result::refused_data);
  EXPECT_FALSE(fs::exists(dir / "ctl" / "annlist.dat"));
  EXPECT_EQ(remote.set_control_folder(st, "../ctl"), folder_result::on);
  fs::current_path(cwd);
  EXPECT_TRUE(fs::exists(dir / "ctl" / "annlist.dat"));
}

TEST_F(RemoteFolderTest, PollRewritesTheListingWhenTheListedSetChanges) {
  add("Morning").day_to = 12 * 3600;
  add("All day");
  st.clock.set(1699920000 + 11 * 3600);
  turn_on();
  EXPECT_EQ(remote.listed_count(), 2);
  st.content.list[1].script = "changed";  // not seen by the poll
  remote_request r;
  EXPECT_FALSE(remote.poll_requests(st, r));
  EXPECT_EQ(read_bytes(ctl() / "annlist.dat")[8 + 292 + 36], 0);
  st.clock.set(1699920000 + 13 * 3600);  // Morning is no longer current
  EXPECT_FALSE(remote.poll_requests(st, r));
  EXPECT_EQ(remote.listed_count(), 1);
  auto bytes = read_bytes(ctl() / "annlist.dat");
  ASSERT_EQ(bytes.size(), 8u + 292);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()) + 8 + 36), "changed");
}

}  // namespace
}  // namespace zta
