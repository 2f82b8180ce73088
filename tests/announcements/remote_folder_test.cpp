// The remote control folder: listing bytes, request files and the folder hand-over.
#include <gtest/gtest.h>

#include <chrono>
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
    // The polls come well after the test wrote its files, unless a test says otherwise.
    remote.clock = [] { return std::chrono::system_clock::now() + std::chrono::hours(1); };
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
  for (const auto& bytes : {std::vector<std::uint8_t>{2, 0, 0}, request(3, "x"), request(0, "x")}) {
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

// --- hostile or unfinished files in the control folder ------------------------------------

#include <fcntl.h>
#include <linux/fs.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <future>

namespace zta {
namespace {

using clock_type = std::chrono::system_clock;

void set_mtime(const fs::path& p, clock_type::time_point t) {
  const auto ns =
      std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
  struct timespec times[2] = {{static_cast<time_t>(ns / 1'000'000'000), ns % 1'000'000'000},
                              {static_cast<time_t>(ns / 1'000'000'000), ns % 1'000'000'000}};
  ::utimensat(AT_FDCWD, p.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

// A socket file at `p` (the socket itself is closed at once; the name stays).
void make_socket_file(const fs::path& p) {
  int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  std::snprintf(a.sun_path, sizeof a.sun_path, "%s", p.c_str());
  ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0) << p;
  ::close(s);
}

class HostileRemoteTest : public RemoteFolderTest {
 protected:
  // Polls on a thread; a poll stuck opening a pipe is released by opening the pipe's other end,
  // so the test fails instead of hanging.
  bool poll_without_blocking(remote_request& r, const std::vector<fs::path>& pipes, bool& took) {
    auto done = std::async(std::launch::async, [&] { return remote.poll_requests(st, r); });
    if (done.wait_for(std::chrono::seconds(10)) == std::future_status::ready) {
      took = done.get();
      return true;
    }
    for (const auto& p : pipes) {
      int fd = ::open(p.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
    }
    took = done.get();
    return false;
  }
};

TEST_F(HostileRemoteTest, PipesSocketsAndLinksNamedAsRequestsNeverBlockThePoll) {
  add("Sale");
  turn_on();
  ASSERT_EQ(::mkfifo((ctl() / "a.ply").c_str(), 0644), 0);
  make_socket_file(ctl() / "b.ply");
  ASSERT_EQ(::mkfifo((dir / "elsewhere").c_str(), 0644), 0);
  fs::create_symlink(dir / "elsewhere", ctl() / "c.ply");
  const std::vector<fs::path> pipes = {ctl() / "a.ply", dir / "elsewhere"};
  for (int i = 0; i < 4; ++i) {
    remote_request r;
    bool took = true;
    ASSERT_TRUE(poll_without_blocking(r, pipes, took)) << "poll " << i << " hung in open";
    EXPECT_FALSE(took) << i;
  }
  for (const char* name : {"a.ply", "b.ply", "c.ply"}) {
    EXPECT_FALSE(fs::exists(fs::symlink_status(ctl() / name))) << name << " is consumed";
  }
  EXPECT_TRUE(fs::exists(dir / "elsewhere")) << "a link's target is not touched";
  // A regular request still works afterwards.
  write_bytes(ctl() / "d.ply", request(1, "sale"));
  remote_request r;
  EXPECT_TRUE(remote.poll_requests(st, r));
  EXPECT_EQ(r.index, 0);
}

TEST_F(HostileRemoteTest, SoundFileThatIsAPipeIsRefused) {
  turn_on();
  ASSERT_EQ(::mkfifo((ctl() / "call").c_str(), 0644), 0);
  write_bytes(ctl() / "r.ply", request(2, "call"));
  remote_request r;
  EXPECT_FALSE(remote.poll_requests(st, r));
  EXPECT_FALSE(fs::exists(ctl() / "r.ply"));
  EXPECT_EQ(fs::status(ctl() / "call").type(), fs::file_type::fifo) << "left alone";
}

struct protected_name {
  const char* label;
  const char* named;  // the file the request names
};

void PrintTo(const protected_name& c, std::ostream* os) {
  *os << c.label;
}

class ProtectedName : public HostileRemoteTest,
                      public ::testing::WithParamInterface<protected_name> {};

TEST_P(ProtectedName, RequestNamingTheListingOrARequestIsDroppedAndTouchesNothing) {
  add("Sale");
  turn_on();
  remote_request r;
  EXPECT_FALSE(remote.poll_requests(st, r));  // the first poll writes the listing once more
  const fs::path named = ctl() / GetParam().named;
  if (GetParam().named != std::string("annlist.dat")) write_bytes(named, {9, 9, 9});
  // A request file the poll must leave for later, so the dropped request is the one taken.
  set_mtime(named, remote.clock());
  const auto before = read_bytes(named);
  write_bytes(ctl() / "r.ply", request(2, GetParam().named));
  EXPECT_FALSE(remote.poll_requests(st, r));
  EXPECT_FALSE(fs::exists(ctl() / "r.ply"));
  ASSERT_TRUE(fs::exists(named));
  EXPECT_EQ(read_bytes(named), before);
}

const protected_name protected_names[] = {
    {"listing", "annlist.dat"},
    {"listing_in_capitals", "ANNLIST.DAT"},
    {"temporary_listing", "AnnList.Dat.Ab12Cd"},
    {"another_request", "other.ply"},
    {"another_request_in_capitals", "OTHER.PLY"},
};

INSTANTIATE_TEST_SUITE_P(Remote, ProtectedName, ::testing::ValuesIn(protected_names),
                         [](const auto& info) { return std::string(info.param.label); });

// Makes a file impossible to delete: immutable for root, else its folder read-only.
class undeletable {
 public:
  explicit undeletable(fs::path file) : file_(std::move(file)) { ok_ = set(true); }
  ~undeletable() { set(false); }
  bool ok() const { return ok_; }
  bool set(bool on) {
    if (::geteuid() != 0) {
      fs::permissions(file_.parent_path(), on ? fs::perms(0555) : fs::perms(0755));
      return true;
    }
    int fd = ::open(file_.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
  }

 private:
  fs::path file_;
  bool ok_ = false;
};

TEST_F(HostileRemoteTest, RequestThatCannotBeDeletedIsServedOnceUntilItChanges) {
  add("Sale");
  add("Other");
  turn_on();
  const fs::path req = ctl() / "x.ply";
  write_bytes(req, request(1, "Sale"));
  remote_request r;
  {
    undeletable lock(req);
    if (!lock.ok()) GTEST_SKIP() << "cannot make a file undeletable here";
    ASSERT_TRUE(remote.poll_requests(st, r));
    EXPECT_EQ(r.index, 0);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(remote.poll_requests(st, r)) << "served again";
    ASSERT_TRUE(fs::exists(req));
    // The remote side writes a new request under the same name.
    lock.set(false);
    write_bytes(req, request(1, "Other"));
    set_mtime(req, clock_type::now() - std::chrono::minutes(5));
    lock.set(true);
    ASSERT_TRUE(remote.poll_requests(st, r));
    EXPECT_EQ(r.index, 1);
    EXPECT_FALSE(remote.poll_requests(st, r));
  }
  // Other requests are not held up by the one that stays.
  write_bytes(ctl() / "y.ply", request(1, "Sale"));
  EXPECT_TRUE(remote.poll_requests(st, r));
}

struct settling_case {
  const char* label;
  std::vector<std::uint8_t> bytes;
  const char* sound;              // a sound file to write (or nullptr)
  std::chrono::milliseconds age;  // of the request (or of the sound file when there is one)
  bool served_at_once;
};

void PrintTo(const settling_case& c, std::ostream* os) {
  *os << c.label;
}

class SettlingRequest : public HostileRemoteTest,
                        public ::testing::WithParamInterface<settling_case> {};

TEST_P(SettlingRequest, UnfinishedFilesWaitForALaterPoll) {
  const settling_case& c = GetParam();
  add("Sale");
  turn_on();
  const auto now = clock_type::now();
  remote.clock = [&now] { return now; };
  const fs::path req = ctl() / "q.ply";
  write_bytes(req, c.bytes);
  set_mtime(req, now - (c.sound != nullptr ? std::chrono::minutes(1) : c.age));
  if (c.sound != nullptr) {
    write_bytes(ctl() / c.sound, {1, 2, 3, 4});
    set_mtime(ctl() / c.sound, now - c.age);
  }
  remote_request r;
  bool first = remote.poll_requests(st, r);
  EXPECT_EQ(first, c.served_at_once);
  EXPECT_EQ(fs::exists(req), !c.served_at_once);
  if (!first) {
    // A second later (or, for a file dated ahead of this clock, once it stayed unchanged).
    remote.clock = [&now] { return now + std::chrono::milliseconds(1000); };
    bool second = remote.poll_requests(st, r);
    if (!second && c.age.count() < -1000) second = remote.poll_requests(st, r);
    EXPECT_TRUE(second);
    EXPECT_FALSE(fs::exists(req));
  }
  if (c.sound != nullptr) {
    EXPECT_EQ(r.path, (ctl() / c.sound).string());
  }
}

const settling_case settling_cases[] = {
    {"short_request_just_written",
     {2, 0, 0, 0, 0, 0, 'c', 'a', 'l', 'l'},
     nullptr,
     std::chrono::milliseconds(400),
     false},
    {"whole_request_just_written", request(1, "Sale"), nullptr, std::chrono::milliseconds(0), true},
    {"short_request_written_long_ago",
     {2, 0, 0, 0, 0, 0, 'c', 'a', 'l', 'l'},
     nullptr,
     std::chrono::milliseconds(1000),
     true},
    {"sound_file_just_written", request(2, "call"), "call", std::chrono::milliseconds(200), false},
    {"sound_file_written_long_ago", request(2, "call"), "call", std::chrono::milliseconds(5000),
     true},
    {"short_request_dated_ahead",
     {2, 0, 0, 0, 0, 0, 'c', 'a', 'l', 'l'},
     nullptr,
     std::chrono::milliseconds(-60000),
     false},
};

INSTANTIATE_TEST_SUITE_P(Remote, SettlingRequest, ::testing::ValuesIn(settling_cases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(HostileRemoteTest, DataFolderReachedThroughABindMountIsRefused) {
  write_bytes(dir / "data" / "afl000.aud", {1, 2});
  fs::create_directories(dir / "data" / "sub");
  fs::create_directories(ctl() / "bound");
  // The mount lives in a namespace of a child process only.
  const pid_t child = ::fork();
  if (child == 0) {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount((dir / "data").c_str(), (ctl() / "bound").c_str(), nullptr, MS_BIND, nullptr) !=
            0) {
      ::_exit(77);
    }
    int failures = 0;
    for (const char* path : {"bound", "bound/sub", "bound/sub/"}) {
      std::string why;
      if (remote.set_control_folder(st, (ctl() / path).string(), &why) !=
              folder_result::refused_data ||
          why != refused_data_folder_text) {
        ++failures;
      }
    }
    if (!fs::exists(dir / "data" / "afl000.aud")) ++failures;
    ::_exit(failures);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no private mount namespace here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "folders through the bind mount not refused";
  EXPECT_TRUE(fs::exists(dir / "data" / "afl000.aud"));
}

TEST_F(HostileRemoteTest, FirstListingIsWrittenAtTheFirstPollEvenWithNothingListed) {
  EXPECT_EQ(remote.set_control_folder(st, (dir / "later").string()), folder_result::on);
  remote_request r;
  EXPECT_FALSE(remote.poll_requests(st, r));
  fs::create_directories(dir / "later");  // the share comes back, still with nothing listed
  EXPECT_FALSE(remote.poll_requests(st, r));
  EXPECT_EQ(read_bytes(dir / "later" / "annlist.dat").size(), 8u);
}

TEST_F(HostileRemoteTest, LeftoverTemporaryListingsAreRemovedWhenTheFolderIsSet) {
  write_bytes(ctl() / "annlist.dat.Xy34Zw", {1});
  write_bytes(ctl() / "annlist.dat.keep", {1});
  write_bytes(ctl() / "annlist.dat.Xy34Z", {1});
  fs::create_directories(ctl() / "annlist.dat.Dir123");
  turn_on();
  EXPECT_FALSE(fs::exists(ctl() / "annlist.dat.Xy34Zw"));
  EXPECT_TRUE(fs::exists(ctl() / "annlist.dat.keep"));
  EXPECT_TRUE(fs::exists(ctl() / "annlist.dat.Xy34Z"));
  EXPECT_TRUE(fs::exists(ctl() / "annlist.dat.Dir123"));
}

struct fold_case {
  const char* stored;
  const char* asked;
  bool match;
};

TEST_F(HostileRemoteTest, ByNameMatchIgnoresTheCaseOfWindows1252Letters) {
  const fold_case cases[] = {
      {"Caf\xE9", "CAF\xC9", true},                  // é / É
      {"\xC5land \xD8st", "\xE5LAND \xF8ST", true},  // Å Ø
      {"\x8A"
       "ale \x8C"
       "uvre",
       "\x9A"
       "ALE \x9C"
       "UVRE",
       true},  // Š/š Œ/œ
      {"\x9F"
       "es",
       "\xFF"
       "ES",
       true},                                // Ÿ / ÿ
      {"Caf\xC3\xA9", "CAF\xC3\x89", true},  // the same letters written as UTF-8
      {"Caf\xC3\xA9", "CAF\xC9", true},      // UTF-8 against Windows-1252
      {"Caf\xE9", "CAFE", false},
      {"1\xD7"
       "2",
       "1\xF7"
       "2",
       false},  // × and ÷ are no letters
  };
  for (const fold_case& c : cases) {
    st.content.list.clear();
    add(c.stored);
    turn_on();
    write_bytes(ctl() / "n.ply", request(1, c.asked));
    remote_request r;
    EXPECT_EQ(remote.poll_requests(st, r), c.match) << c.stored << " / " << c.asked;
  }
}

}  // namespace
}  // namespace zta
