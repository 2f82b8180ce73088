// The setup file: its trailer, the layout check and the setup writer.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "base/file_io.hpp"
#include "install/setup_layout.hpp"
#include "install/setup_writer.hpp"
#include "tests/install/setup_fixture.hpp"

namespace zta::test {
namespace {

TEST(SetupTrailer, IsSixLittleEndianWordsInOrder) {
  const setup_trailer t{{0x04030201, 0x14131211, 0x24232221, 0x34333231, 0x44434241}, 0xF4F3F2F1};
  const auto raw = encode_setup_trailer(t);
  const std::array<std::uint8_t, 24> expected = {0x01, 0x02, 0x03, 0x04, 0x11, 0x12, 0x13, 0x14,
                                                 0x21, 0x22, 0x23, 0x24, 0x31, 0x32, 0x33, 0x34,
                                                 0x41, 0x42, 0x43, 0x44, 0xF1, 0xF2, 0xF3, 0xF4};
  EXPECT_EQ(raw, expected);
  EXPECT_EQ(decode_setup_trailer(raw), t);
}

struct layout_case {
  const char* name;
  std::array<std::uint32_t, 5> ends;
  std::uint64_t length;
  bool fits;
};

class SetupLayout : public ::testing::TestWithParam<layout_case> {};

TEST_P(SetupLayout, FitsOnlyWhenTheMembersLieInOrderInsideTheFile) {
  const layout_case& c = GetParam();
  EXPECT_EQ(setup_layout_fits({c.ends, 0}, c.length), c.fits);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupLayout,
    ::testing::Values(layout_case{"AllMembersPresent", {10, 20, 30, 40, 50}, 84, true},
                      layout_case{"EmptyMembersAfterTheProgram", {10, 10, 10, 10, 10}, 34, true},
                      layout_case{"EmptyProgram", {0, 20, 30, 40, 50}, 84, false},
                      layout_case{"OffsetsGoBack", {10, 30, 20, 40, 50}, 84, false},
                      layout_case{"PackageIntoTheTrailer", {10, 20, 30, 40, 61}, 84, false},
                      layout_case{"ShorterThanTheTrailer", {1, 1, 1, 1, 1}, 23, false},
                      layout_case{
                          "BeyondThirtyTwoBits", {10, 20, 30, 40, 50}, 0x100000000ull, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetupChecksum, WrapsModuloTwoToTheThirtyTwo) {
  const bytes b = {0xFF, 0x02};
  EXPECT_EQ(add_byte_sum(0xFFFFFF00u, b), 0x00000001u);
  EXPECT_EQ(add_byte_sum(7, {}), 7u);
}

TEST(SetupWriter, ChecksumCountsTheProgramTwiceAndTheOtherMembersOnce) {
  temp_folder dir;
  setup_members m = setup_members::typical();
  m.program.assign(40000, 0xFF);  // large byte values: a sum counted once would differ widely
  const std::string path = write_setup(dir, m);
  ASSERT_FALSE(path.empty());
  const bytes file = dir.read("SETUP");
  ASSERT_GE(file.size(), setup_trailer_size);
  const std::size_t body = file.size() - setup_trailer_size;
  const setup_trailer t =
      decode_setup_trailer(std::span<const std::uint8_t, 24>(file.data() + body, 24));
  std::uint32_t expected = 0;
  for (std::size_t i = 0; i < t.ends[0]; ++i) expected += 2u * file[i];
  for (std::size_t i = t.ends[0]; i < body; ++i) expected += file[i];
  EXPECT_EQ(t.checksum, expected);
  // The members in order, where the trailer says.
  EXPECT_EQ(t.ends, (std::array<std::uint32_t, 5>{40000, 45000, 61384, 61384, 81384}));
  EXPECT_EQ(body, 81384u + 777u);
  EXPECT_TRUE(std::equal(m.manual.begin(), m.manual.end(), file.begin() + 40000));
  EXPECT_TRUE(std::equal(m.package.begin(), m.package.end(), file.begin() + 81384));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);  // it runs as the installer
}

TEST(SetupWriter, RefusesWhatIsNotARegularFileAndKeepsTheOldOutput) {
  temp_folder dir;
  const std::string path = write_setup(dir, setup_members::typical());
  const bytes before = dir.read("SETUP");
  std::filesystem::create_directory(dir.file("folder"));
  ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
  struct source_case {
    std::string which, file, message;
  };
  for (const auto& c : {source_case{"manual", dir.file("folder"), "not a regular file"},
                        source_case{"package", dir.file("pipe"), "not a regular file"},
                        source_case{"program", dir.file("missing"), "No such file"}}) {
    setup_sources s{dir.file("in.program"),
                    dir.file("in.manual"),
                    {dir.file("in.chime1"), dir.file("in.chime2"), dir.file("in.chime3")},
                    dir.file("in.package")};
    (c.which == "manual" ? s.manual : c.which == "package" ? s.package : s.program) = c.file;
    std::string error;
    EXPECT_FALSE(write_setup_file(s, path, error)) << c.which;
    EXPECT_NE(error.find(c.file), std::string::npos) << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_EQ(dir.read("SETUP"), before) << c.which;
  }
  // No temporary file is left beside the output.
  for (const std::string& name : dir.names()) EXPECT_EQ(name.find("SETUP."), std::string::npos);
}

}  // namespace
}  // namespace zta::test
