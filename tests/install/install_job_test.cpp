// The copying part of an installation: members, blocks, progress, checksum, failures, Stop.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "install/install_job.hpp"
#include "tests/install/setup_fixture.hpp"

namespace zta::test {
namespace {

namespace fs = std::filesystem;

class InstallJobTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directory(dir.file("ZTA")); }
  std::string folder() const { return dir.file("ZTA"); }
  std::string installed(const char* name) const { return dir.file(std::string("ZTA/") + name); }
  bytes read_installed(const char* name) const { return dir.read(std::string("ZTA/") + name); }
  std::vector<std::string> folder_names() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder())) out.push_back(e.path().filename());
    std::sort(out.begin(), out.end());
    return out;
  }
  // Steps to the end; returns the number of steps and the percentage before each.
  int run(install_job& job, std::vector<int>* percents = nullptr) {
    int steps = 0;
    do {
      if (percents != nullptr) percents->push_back(job.percent());
      ++steps;
    } while (job.step());
    return steps;
  }

  temp_folder dir;
  setup_members members = setup_members::typical();
};

TEST_F(InstallJobTest, WritesEveryMemberInPlaceWithItsMode) {
  const std::string setup = write_setup(dir, members);
  install_job job(setup, folder());
  ASSERT_EQ(job.begin(), install_begin::started);
  EXPECT_EQ(job.state(), install_state::program);
  run(job);
  EXPECT_TRUE(job.complete());
  EXPECT_TRUE(job.checksum_matches());
  EXPECT_TRUE(job.failure().empty());
  EXPECT_EQ(job.state(), install_state::idle);
  const auto expected = members.installed();
  for (std::size_t i = 0; i < install_members.size(); ++i) {
    const install_member& m = install_members[i];
    EXPECT_EQ(read_installed(m.name), *expected[i]) << m.name;
    struct stat st {};
    ASSERT_EQ(::stat(installed(m.name).c_str(), &st), 0) << m.name;
    EXPECT_EQ(st.st_mode & 0777, m.executable ? 0755u : 0644u) << m.name;
  }
  // Nothing else: no temporary names left behind.
  EXPECT_EQ(folder_names(),
            (std::vector<std::string>{"chimes1.aud", "chimes2.aud", "chimes3.aud", "manual.html",
                                      "test.ann", "uninst", "vrxpar"}));
}

TEST_F(InstallJobTest, OneBlockPerStepAndOneStepPerMemberCompletion) {
  const std::string setup = write_setup(dir, members);
  install_job job(setup, folder());
  ASSERT_EQ(job.begin(), install_begin::started);
  ASSERT_TRUE(job.step());
  EXPECT_EQ(job.bytes_done(), 16384u);
  // Blocks: program 4 (twice), manual 1, chimes 1 + 0 + 2, package 1; plus seven completions;
  // the first step is already done.
  EXPECT_EQ(run(job), 4 + 4 + 1 + 1 + 0 + 2 + 1 + 7 - 1);
}

TEST_F(InstallJobTest, ProgressCountsTheProgramTwiceAndReaches100OnlyAtTheEnd) {
  const std::string setup = write_setup(dir, members);
  const std::uint64_t total = fs::file_size(setup) - 24 + members.program.size();
  install_job job(setup, folder());
  ASSERT_EQ(job.begin(), install_begin::started);
  std::vector<int> percents;
  int steps = 0;
  bool saw_first_copy_done = false;
  do {
    percents.push_back(job.percent());
    if (job.state() == install_state::uninstaller && job.bytes_done() == members.program.size()) {
      // The program written once is under half of the whole.
      EXPECT_EQ(job.percent(), static_cast<int>(members.program.size() * 100 / total));
      EXPECT_LT(job.percent(), 50);
      saw_first_copy_done = true;
    }
    ++steps;
  } while (job.step());
  EXPECT_TRUE(saw_first_copy_done);
  EXPECT_EQ(job.bytes_done(), total);
  EXPECT_EQ(job.percent(), 100);
  ASSERT_GE(percents.size(), 3u);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  // 100 shows only once the package's last block is written: on the step that completes it.
  EXPECT_EQ(percents.back(), 100);
  EXPECT_LT(percents[percents.size() - 2], 100);
}

TEST_F(InstallJobTest, LargeProgramsDoNotOverflowTheProgress) {
  // 25 MB counted twice: bytes done * 100 passes 2^32 long before the end.
  members.program.assign(25'000'000, 0x5A);
  const std::string setup = write_setup(dir, members);
  install_job job(setup, folder());
  ASSERT_EQ(job.begin(), install_begin::started);
  int last = 0;
  bool ordered = true;
  while (job.step()) {
    ordered = ordered && job.percent() >= last;
    last = job.percent();
  }
  EXPECT_TRUE(ordered);
  EXPECT_EQ(job.percent(), 100);
  EXPECT_TRUE(job.checksum_matches());
}

TEST_F(InstallJobTest, AnyChangedByteIsCaughtByTheChecksumAndEverythingIsStillInstalled) {
  struct changed_byte {
    const char* where;
    std::size_t position;
    std::uint8_t flip;
  };
  const std::string setup = write_setup(dir, members);
  const bytes original = dir.read("SETUP");
  for (const changed_byte& c :
       {changed_byte{"the checksum's top byte", original.size() - 1, 0x01},
        changed_byte{"a byte of the manual", members.program.size() + 10, 0x40},
        changed_byte{"the first byte of the program", 0, 0x80}}) {
    bytes file = original;
    file[c.position] ^= c.flip;
    dir.write("SETUP", file);
    install_job job(setup, folder());
    ASSERT_EQ(job.begin(), install_begin::started) << c.where;
    run(job);
    EXPECT_TRUE(job.complete()) << c.where;
    EXPECT_FALSE(job.checksum_matches()) << c.where;
    EXPECT_EQ(read_installed("test.ann"), members.package) << c.where;
  }
}

struct corrupt_case {
  const char* name;
  std::size_t body;  // bytes before the trailer (0 with no trailer at all: a 10-byte file)
  std::array<std::uint32_t, 5> ends;
};

class InstallJobCorrupt : public ::testing::TestWithParam<corrupt_case> {};

TEST_P(InstallJobCorrupt, ATrailerThatDoesNotFitInstallsNothing) {
  const corrupt_case& c = GetParam();
  temp_folder dir;
  fs::create_directory(dir.file("ZTA"));
  dir.write("SETUP",
            c.body == 0 ? member_bytes(10, 1) : with_trailer(member_bytes(c.body, 1), {c.ends, 0}));
  install_job job(dir.file("SETUP"), dir.file("ZTA"));
  EXPECT_EQ(job.begin(), install_begin::corrupt);
  EXPECT_FALSE(job.step());
  EXPECT_TRUE(fs::is_empty(dir.file("ZTA")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstallJobCorrupt,
    ::testing::Values(
        corrupt_case{"ShorterThanATrailer", 0, {}},
        corrupt_case{"NoProgram", 100, {0, 10, 20, 30, 40}},
        corrupt_case{"OffsetsBackwards", 100, {50, 40, 60, 70, 80}},
        corrupt_case{"PastTheEnd", 100, {50, 60, 70, 80, 101}},
        corrupt_case{"Garbage", 100, {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstallJobTest, ASetupFileThatCannotBeReadIsSaidSo) {
  install_job job(dir.file("missing"), folder());
  EXPECT_EQ(job.begin(), install_begin::unreadable);
  EXPECT_EQ(job.failure(), "Installation failed: cannot read " + dir.file("missing") +
                               ": No such file or directory");
  fs::create_directory(dir.file("a folder"));
  install_job folder_job(dir.file("a folder"), folder());
  EXPECT_EQ(folder_job.begin(), install_begin::unreadable);
}

TEST_F(InstallJobTest, AnInstallFolderThatIsNoFolderFailsAtOnceWithTheReason) {
  const std::string setup = write_setup(dir, members);
  dir.write("file", std::string("x"));
  install_job job(setup, dir.file("file/ZTA"));
  EXPECT_EQ(job.begin(), install_begin::create_failed);
  EXPECT_EQ(job.failure(), "Installation failed: cannot create " + dir.file("file/ZTA/vrxpar") +
                               ": Not a directory");
  EXPECT_FALSE(job.step());
}

TEST_F(InstallJobTest, AMemberThatCannotBePutInPlaceEndsTheInstallationThere) {
  const std::string setup = write_setup(dir, members);
  fs::create_directories(installed("manual.html") + std::string("/inside"));
  install_job job(setup, folder());
  ASSERT_EQ(job.begin(), install_begin::started);
  run(job);
  EXPECT_FALSE(job.complete());
  EXPECT_EQ(job.failure(),
            "Installation failed: cannot replace " + installed("manual.html") + ": Is a directory");
  // The members before it are in place, none after it, and no temporary file is left.
  EXPECT_EQ(folder_names(), (std::vector<std::string>{"manual.html", "uninst", "vrxpar"}));
  EXPECT_EQ(read_installed("uninst"), members.program);
}

TEST_F(InstallJobTest, AFullDiskEndsTheInstallationWithoutAHalfMember) {
  const std::string setup = write_setup(dir, members);
  dir.write("ZTA/vrxpar", std::string("the program installed before"));
  // A file size limit stands in for a full disk: the first block fits, the second does not.
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 20000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  install_job job(setup, folder());
  const install_begin began = job.begin();
  while (job.step()) {
  }
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, old_handler);
  ASSERT_EQ(began, install_begin::started);
  EXPECT_FALSE(job.complete());
  EXPECT_EQ(job.failure(),
            "Installation failed: cannot write " + installed("vrxpar") + ": File too large");
  // The program the start-up entry points at is the old one, whole.
  EXPECT_EQ(folder_names(), std::vector<std::string>{"vrxpar"});
  const bytes old_program = read_installed("vrxpar");
  EXPECT_EQ(std::string(old_program.begin(), old_program.end()), "the program installed before");
}

TEST_F(InstallJobTest, StopInTheMiddleKeepsWrittenMembersAndDropsThePartialOne) {
  const std::string setup = write_setup(dir, members);
  dir.write("ZTA/manual.html", std::string("old manual"));
  auto job = std::make_unique<install_job>(setup, folder());
  ASSERT_EQ(job->begin(), install_begin::started);
  while (job->state() != install_state::chime1) ASSERT_TRUE(job->step());
  ASSERT_TRUE(job->step());              // chimes1.aud written, not yet in place
  EXPECT_EQ(folder_names().size(), 4u);  // vrxpar, uninst, manual.html and the partial one
  job.reset();                           // Stop
  EXPECT_EQ(folder_names(), (std::vector<std::string>{"manual.html", "uninst", "vrxpar"}));
  EXPECT_EQ(read_installed("manual.html"), members.manual);
  EXPECT_EQ(read_installed("vrxpar"), members.program);
}

TEST_F(InstallJobTest, AnInstalledProgramIsReplacedOnlyWhenTheNewOneIsWhole) {
  const std::string setup = write_setup(dir, members);
  dir.write("ZTA/vrxpar", std::string("old"));
  install_job job(setup, folder());
  ASSERT_EQ(job.begin(), install_begin::started);
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(job.step());
    const bytes now = read_installed("vrxpar");
    EXPECT_EQ(std::string(now.begin(), now.end()), "old") << "block " << i;
  }
  ASSERT_TRUE(job.step());  // the completion
  EXPECT_EQ(read_installed("vrxpar"), members.program);
}

}  // namespace
}  // namespace zta::test
