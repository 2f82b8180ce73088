// The companion's side of the stored forms (listing decoder, request encoder) and the
// acknowledgements the player leaves in the control folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "announcements/missed_log.hpp"
#include "announcements/remote_ack.hpp"
#include "announcements/remote_folder.hpp"
#include "tests/common/announcement_maker.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

namespace fs = std::filesystem;
using sys_clock = std::chrono::system_clock;

std::string read_text(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void write_bytes(const fs::path& p, const std::vector<std::uint8_t>& b) {
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

void write_text(const fs::path& p, const std::string& s) {
  std::ofstream(p, std::ios::binary) << s;
}

void age(const fs::path& p, std::chrono::hours by) {
  fs::last_write_time(p, fs::file_time_type::clock::now() - by);
}

TEST(RemoteListing, DecodesWhatThePlayerWrites) {
  ann_blk a = test::always_current("Sale", 0);
  a.confirm = 1;
  a.script = "Half price\r\nuntil noon";
  ann_blk b = test::always_current(std::string(31, 'n'), 1);
  b.script = std::string(300, 's');  // cut to 255 in the listing
  const ann_blk* records[] = {&a, &b};
  const auto bytes = encode_listing(records, 2, 1700000000);

  decoded_listing l;
  ASSERT_TRUE(decode_listing(bytes, l));
  EXPECT_EQ(l.written_at, 1700000000);
  EXPECT_TRUE(l.whole);
  ASSERT_EQ(l.entries.size(), 2u);
  EXPECT_EQ(l.entries[0].index, 0);
  EXPECT_TRUE(l.entries[0].confirm);
  EXPECT_EQ(l.entries[0].name, "Sale");
  EXPECT_EQ(l.entries[0].script, "Half price\r\nuntil noon");
  EXPECT_EQ(l.entries[1].index, 1);
  EXPECT_FALSE(l.entries[1].confirm);
  EXPECT_EQ(l.entries[1].name, std::string(31, 'n'));
  EXPECT_EQ(l.entries[1].script, std::string(255, 's'));
}

struct listing_case {
  const char* name;
  std::size_t size;  // bytes of a two-record listing kept
  bool decodes;
  std::size_t entries;
  bool whole;
};
void PrintTo(const listing_case& c, std::ostream* os) {
  *os << c.name;
}

class CutListing : public ::testing::TestWithParam<listing_case> {};

TEST_P(CutListing, OnlyWholeRecordsAreRead) {
  ann_blk a = test::always_current("One", 0);
  ann_blk b = test::always_current("Two", 1);
  const ann_blk* records[] = {&a, &b};
  auto bytes = encode_listing(records, 2, 5);
  bytes.resize(GetParam().size);
  decoded_listing l;
  EXPECT_EQ(decode_listing(bytes, l), GetParam().decodes);
  EXPECT_EQ(l.entries.size(), GetParam().entries);
  EXPECT_EQ(l.whole, GetParam().whole);
}

INSTANTIATE_TEST_SUITE_P(Remote, CutListing,
                         ::testing::Values(listing_case{"Empty", 0, false, 0, true},
                                           listing_case{"HalfHeader", 7, false, 0, true},
                                           listing_case{"HeaderOnly", 8, true, 0, true},
                                           listing_case{"OneAndABit", 8 + 292 + 1, true, 1, false},
                                           listing_case{"AllButOneByte", 8 + 583, true, 1, false},
                                           listing_case{"Whole", 8 + 584, true, 2, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RemoteRequest, EncodedBytesAreTheStoredLayout) {
  std::vector<std::uint8_t> expected(38, 0);
  expected[0] = 2;
  std::copy_n("call.aud", 8, expected.begin() + 6);
  EXPECT_EQ(encode_request(request_kind::sound_file, "call.aud"), expected);

  // A text over 31 bytes is cut, and byte 37 stays the terminator.
  const auto cut = encode_request(request_kind::by_name, std::string(40, 'x'));
  ASSERT_EQ(cut.size(), 38u);
  EXPECT_EQ(cut[0], 1);
  EXPECT_EQ(cut[37], 0);
  const request_file back = decode_request(cut);
  EXPECT_EQ(back.kind, request_kind::by_name);
  EXPECT_EQ(back.text, std::string(31, 'x'));
}

TEST(RemoteAck, NamedAfterTheRequest) {
  EXPECT_EQ(ack_file_name("zta-1.ply"), "zta-1.ack");
  EXPECT_EQ(ack_file_name("SHOP.PlY"), "SHOP.ack");
  EXPECT_EQ(ack_file_name(".ply"), ".ply.ack");  // nothing before the extension
  EXPECT_EQ(ack_file_name("odd"), "odd.ack");
}

TEST(RemoteAck, TextRoundTripsAndKeepsEachFieldOnOneLine) {
  const acknowledgement a{.request = "zta-1.ply",
                          .played = false,
                          .detail = "no current announcement is named \"Sa\nle\"",
                          .moment = 1700000000};
  const std::string text = encode_ack(a);
  EXPECT_EQ(text,
            "ZTA acknowledgement\n"
            "request: zta-1.ply\n"
            "result: refused\n"
            "detail: no current announcement is named \"Sa?le\"\n"
            "moment: 2023-11-14 22:13:20\n");
  acknowledgement back;
  ASSERT_TRUE(decode_ack(text, back));
  EXPECT_EQ(back.request, "zta-1.ply");
  EXPECT_FALSE(back.played);
  EXPECT_EQ(back.detail, "no current announcement is named \"Sa?le\"");
  EXPECT_EQ(back.moment, 1700000000);
}

class BadAck : public ::testing::TestWithParam<const char*> {};

TEST_P(BadAck, IsNoAcknowledgement) {
  acknowledgement out;
  EXPECT_FALSE(decode_ack(GetParam(), out)) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(
    Remote, BadAck,
    ::testing::Values(
        "",
        "ZTA acknowledgement\nrequest: a.ply\nresult: played\ndetail: x\n",  // no moment
        "ZTA acknowledgement\nrequest: a.ply\nresult: played\ndetail: x\nmoment: "
        "2026-12-10 20:15:03",  // cut before its last newline
        "ZTA acknowledgement\nrequest: a.ply\nresult: maybe\ndetail: x\nmoment: "
        "2026-12-10 20:15:03\n",
        "ZTA acknowledgement\nrequest: a.ply\nresult: played\ndetail: x\nmoment: "
        "2026-02-30 20:15:03\n",  // no such day
        "ZTA acknowledgement\nrequest: a.ply\nresult: played\ndetail: x\nmoment: "
        "2026-12-10 20:15:03\nmore\n",
        "ZTA acknowledgment\nrequest: a.ply\nresult: played\ndetail: x\nmoment: "
        "2026-12-10 20:15:03\n"),
    [](const auto& info) { return "case" + std::to_string(info.index); });

class RemoteAckFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(folder.root() / "data");
    fs::create_directories(ctl());
    st.data_folder = (folder.root() / "data").string() + "/";
    st.clock.set(1700000000);
    remote.clock = [this] { return wall; };
    ann_blk a = test::always_current("Sale", 0);
    st.content.list.push_back(a);
    ASSERT_EQ(remote.set_control_folder(st, ctl().string()), folder_result::on);
  }
  fs::path ctl() const { return folder.root() / "ctl"; }
  // The acknowledgement of request `name`, decoded; fails the test when there is none.
  acknowledgement ack_of(const std::string& request) {
    acknowledgement a;
    EXPECT_TRUE(decode_ack(read_text(ctl() / ack_file_name(request)), a)) << request;
    return a;
  }

  test::temp_folder folder;
  station st;
  remote_folder remote;
  // The polls come well after the test wrote its files.
  sys_clock::time_point wall = sys_clock::now() + std::chrono::hours(1);
};

struct refusal_case {
  const char* name;
  std::vector<std::uint8_t> request;
  const char* detail;
  const char* missed_name;  // what the missed file names
};
void PrintTo(const refusal_case& c, std::ostream* os) {
  *os << c.name;
}

class RequestRefused : public RemoteAckFolder,
                       public ::testing::WithParamInterface<refusal_case> {};

TEST_P(RequestRefused, IsAcknowledgedWithItsReasonAndRecordedAsMissed) {
  remote.missed = missed_log(st.data_folder);
  write_bytes(ctl() / "r.ply", GetParam().request);
  remote_request r;
  EXPECT_FALSE(remote.poll_requests(st, r));
  EXPECT_FALSE(fs::exists(ctl() / "r.ply"));
  const acknowledgement a = ack_of("r.ply");
  EXPECT_EQ(a.request, "r.ply");
  EXPECT_FALSE(a.played);
  EXPECT_EQ(a.detail, GetParam().detail);
  EXPECT_EQ(a.moment, 1700000000);
  const auto missed =
      read_missed_file(st.data_folder + missed_file_name(st.clock.now), st.clock.now);
  ASSERT_EQ(missed.size(), 1u);
  EXPECT_EQ(missed[0].when, 1700000000);
  EXPECT_EQ(missed[0].name, GetParam().missed_name);
  EXPECT_EQ(missed[0].trigger, "remote");
  EXPECT_EQ(missed[0].reason, GetParam().detail);
}

INSTANTIATE_TEST_SUITE_P(
    Remote, RequestRefused,
    ::testing::Values(
        refusal_case{"NoSuchName", encode_request(request_kind::by_name, "Sael"),
                     "no current announcement is named \"Sael\"", "Sael"},
        refusal_case{"UnknownKind", encode_request(static_cast<request_kind>(7), "Sale"),
                     "no request of a known kind (7)", "r.ply"},
        refusal_case{"TooShortForAKind", {2, 0}, "no request of a known kind (0)", "r.ply"},
        refusal_case{"SoundOutsideTheFolder", encode_request(request_kind::sound_file, "../x.aud"),
                     "\"../x.aud\" is no sound file name of the control folder", "../x.aud"},
        refusal_case{"SoundThatIsAnAcknowledgement",
                     encode_request(request_kind::sound_file, "other.ack"),
                     "\"other.ack\" is no sound file name of the control folder", "other.ack"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RemoteAckFolder, PlayedRequestIsAcknowledgedThroughARenameThatNeverFollowsALink) {
  write_bytes(ctl() / "p.ply", encode_request(request_kind::by_name, "sale"));
  remote_request r;
  ASSERT_TRUE(remote.poll_requests(st, r));
  EXPECT_EQ(r.file, "p.ply");
  EXPECT_FALSE(fs::exists(ctl() / "p.ack"));  // only once the player tried it
  // A link planted where the acknowledgement goes: replaced, its target left alone.
  write_text(folder.root() / "target", "keep");
  fs::create_symlink(folder.root() / "target", ctl() / "p.ack");
  remote.acknowledge(r, true, "started \"Sale\"", 1700000100);
  EXPECT_FALSE(fs::is_symlink(fs::symlink_status(ctl() / "p.ack")));
  EXPECT_EQ(read_text(folder.root() / "target"), "keep");
  const acknowledgement a = ack_of("p.ply");
  EXPECT_TRUE(a.played);
  EXPECT_EQ(a.detail, "started \"Sale\"");
  EXPECT_EQ(a.moment, 1700000100);
  // Nothing else is left: no temporary file, and the acknowledgement is never a request.
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(ctl())) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"annlist.dat", "p.ack"}));
  remote_request again;
  EXPECT_FALSE(remote.poll_requests(st, again));
  EXPECT_TRUE(fs::exists(ctl() / "p.ack"));
}

TEST_F(RemoteAckFolder, OwnAcknowledgementsOverADayOldAreRemovedHourly) {
  remote_request r;
  r.file = "old.ply";
  remote.acknowledge(r, true, "started \"Sale\"", 1);
  r.file = "young.ply";
  remote.acknowledge(r, true, "started \"Sale\"", 2);
  write_text(ctl() / "peer.ack", "a peer's own file\n");  // not ours, however old
  write_text(folder.root() / "outside", std::string(ack_first_line) + "\n");
  fs::create_symlink(folder.root() / "outside", ctl() / "link.ack");
  ::mkdir((ctl() / "dir.ack").c_str(), 0700);
  for (const char* n : {"old.ack", "peer.ack"}) age(ctl() / n, std::chrono::hours(25));
  age(ctl() / "young.ack", std::chrono::hours(23));

  wall = sys_clock::now();
  remote_request none;
  EXPECT_FALSE(remote.poll_requests(st, none));
  EXPECT_FALSE(fs::exists(ctl() / "old.ack"));
  for (const char* n : {"young.ack", "peer.ack", "link.ack", "dir.ack"})
    EXPECT_TRUE(fs::exists(fs::symlink_status(ctl() / n))) << n;
  EXPECT_TRUE(fs::exists(folder.root() / "outside"));

  // The next sweep comes an hour later, not at every poll.
  age(ctl() / "young.ack", std::chrono::hours(25));
  wall += std::chrono::minutes(59);
  EXPECT_FALSE(remote.poll_requests(st, none));
  EXPECT_TRUE(fs::exists(ctl() / "young.ack"));
  wall += std::chrono::minutes(2);
  EXPECT_FALSE(remote.poll_requests(st, none));
  EXPECT_FALSE(fs::exists(ctl() / "young.ack"));
}

}  // namespace
}  // namespace zta
