#include <gtest/gtest.h>

#include <filesystem>

#include "announcements/clip_files.hpp"
#include "announcements/settings_store.hpp"
#include "base/byte_codec.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

using test::temp_folder;

// A station with one of everything, and the bytes its settings file must hold, laid out by
// hand at the stored offsets.
struct sample {
  station st{"/nowhere/", 1000};
  std::vector<std::uint8_t> bytes;

  sample() {
    settings_block& s = st.settings;
    s.announcement_level = 70;
    s.sound_out_device = -1;
    s.balanced = 1;
    s.music_device = 2;
    s.chimes = 2;
    s.day_part_count = 1;
    s.day_parts[0] = {-10, 5, 0, 0x41, 1320, 360};
    set_field_text(s.control_folder, "/srv/control");
    load_options& o = st.load_opts;
    o.method = load_method::ftp;
    set_field_text(o.file_path, "/media/x.vrx");
    o.ftp_stamp = 0x01DA708B;
    o.update_interval = 86400;
    st.content.owner.set_customer_number(4242);
    ann_blk a;
    a.set_name("Specials");
    a.id_stamp = 0x11223344;
    a.id_serial = 22050;
    a.commence = 0;
    a.expiry = 0x7FFFFFFF;
    a.day_from = 3600;
    a.day_to = 86400;
    a.weekdays = 127;
    a.chimes = 1;
    a.manual = 1;
    a.autoplay = -1;
    a.user_made = 1;
    a.clip = 7;
    a.fixed_times = {36000, 45000};
    a.script = "Hello";
    st.content.list.push_back(a);
    st.content.notice = {5000, 86400, "Hi"};

    bytes.assign(465 + 410 + 107, 0);
    auto at = [&](std::size_t off) { return bytes.data() + off; };
    bytes[0] = 70, bytes[1] = 0xFF, bytes[2] = 1, bytes[3] = 2, bytes[4] = 50, bytes[5] = 15;
    bytes[6] = 0xFF, bytes[7] = 100, bytes[8] = 0, bytes[9] = 0, bytes[10] = 1, bytes[11] = 2;
    bytes[12] = 0xF6, bytes[13] = 5, bytes[14] = 0, bytes[15] = 0x41;
    store_le<std::int16_t>(at(16), 1320);
    store_le<std::int16_t>(at(18), 360);
    bytes[204] = 1;
    std::memcpy(at(205), "/srv/control", 12);
    bytes[465] = 2;
    std::memcpy(at(465 + 2), "/media/x.vrx", 12);
    std::memcpy(at(465 + 262), "ftp.vrxtolvane.example", 22);
    store_le<std::int32_t>(at(465 + 390), 0x01DA708B);
    store_le<std::int32_t>(at(465 + 394), 86400);
    store_le<std::int32_t>(at(465 + 398), 6000);
    store_le<std::int32_t>(at(465 + 402), 1000);
    store_le<std::int32_t>(at(465 + 406), 1000);
    store_le<std::int32_t>(at(875), 4242);
    const std::uint8_t record[] = {
        'S',  'p',  'e',  'c',  'i', 'a',  'l',  's', 0, 0, 0, 0, 0, 0, 0, 0,  // name
        0,    0,    0,    0,    0,   0,    0,    0,   0, 0, 0, 0, 0, 0, 0, 0,  //
        0x44, 0x33, 0x22, 0x11,                                                // id_stamp
        0x22, 0x56, 0,    0,                                                   // id_serial 22050
        0,    0,    0,    0,                                                   // commence
        0xFF, 0xFF, 0xFF, 0x7F,                                                // expiry
        0x10, 0x0E, 0,    0,                                                   // day_from 3600
        0x80, 0x51, 1,    0,                                                   // day_to 86400
        127,  1,    0,    1,                              // weekdays, chimes, confirm, manual
        0xFF, 0xFF,                                       // autoplay -1
        1,                                                // user_made
        7,    0,                                          // clip
        2,    0xA0, 0x8C, 0,    0,   0xC8, 0xAF, 0,   0,  // two fixed times
        5,    0,    'H',  'e',  'l', 'l',  'o',           // script
    };
    bytes.push_back(1);
    bytes.insert(bytes.end(), std::begin(record), std::end(record));
    const std::uint8_t notice[] = {0x88, 0x13, 0, 0, 0x80, 0x51, 1, 0, 2, 0, 'H', 'i'};
    bytes.insert(bytes.end(), std::begin(notice), std::end(notice));
  }
};

TEST(SettingsFile, BlocksHaveTheirStoredSizes) {
  station st;
  const auto bytes = encode_settings_file(st);
  // Three blocks, an empty list and an empty notice.
  EXPECT_EQ(bytes.size(), 465u + 410u + 107u + 1u + 10u);
}

TEST(SettingsFile, WritesTheStoredLayoutByteForByte) {
  sample s;
  EXPECT_EQ(encode_settings_file(s.st), s.bytes);
}

TEST(SettingsFile, ReadsTheStoredLayoutBack) {
  sample s;
  station back("/nowhere/", 0);
  ASSERT_TRUE(decode_settings_file(s.bytes, back));
  EXPECT_EQ(back.settings, s.st.settings);
  EXPECT_EQ(back.load_opts, s.st.load_opts);
  EXPECT_EQ(back.content.owner, s.st.content.owner);
  ASSERT_EQ(back.content.list.count(), 1);
  EXPECT_EQ(back.content.list[0], s.st.content.list[0]);
  EXPECT_EQ(back.content.notice, s.st.content.notice);
}

TEST(SettingsFile, DefaultsMatchTheFreshInstallation) {
  station st("/x/", 77);
  const settings_block& s = st.settings;
  EXPECT_EQ(s.announcement_level, 65);
  EXPECT_EQ(s.sound_out_device, 0);
  EXPECT_EQ(s.music_device, -1);
  EXPECT_EQ(s.music_up_level, 50);
  EXPECT_EQ(s.music_down_level, 15);
  EXPECT_EQ(s.mic_device, -1);
  EXPECT_EQ(s.mic_level, 100);
  EXPECT_EQ(s.sequence_interval, 1);
  EXPECT_EQ(s.chimes, 3);
  EXPECT_EQ(st.load_opts.update_interval, -1);
  EXPECT_EQ(st.load_opts.min_retry, 6000);
  EXPECT_EQ(st.load_opts.last_success, 77);
  EXPECT_EQ(st.load_opts.last_attempt, 77);
  EXPECT_EQ(st.content.notice.next_show, moment_never);
}

TEST(SettingsFile, EveryTruncationLoadsAPrefixAndNeverMore) {
  sample s;
  for (std::size_t n = 0; n < s.bytes.size(); ++n) {
    station back("/nowhere/", 0);
    const bool complete = decode_settings_file(std::span(s.bytes.data(), n), back);
    EXPECT_FALSE(complete) << n;
    EXPECT_LE(back.content.list.count(), 1);
    if (n >= 465 + 410 + 107 + 1 + 65 + 1 + 8 + 2 + 5) {
      ASSERT_EQ(back.content.list.count(), 1) << n;
      EXPECT_EQ(back.content.list[0].script, "Hello");
    }
  }
}

TEST(SettingsFile, CountOf0x80AndAboveIsAnEmptyList) {
  for (std::uint8_t count : {0x80, 0x81, 0xFF, 0x00}) {
    sample s;
    s.bytes[465 + 410 + 107] = count;
    station back("/nowhere/", 0);
    decode_settings_file(s.bytes, back);
    EXPECT_EQ(back.content.list.count(), 0) << int(count);
  }
}

TEST(SettingsFile, NameWithoutTerminatorKeeps31Bytes) {
  sample s;
  std::memset(s.bytes.data() + 465 + 410 + 107 + 1, 'x', 32);
  station back("/nowhere/", 0);
  ASSERT_TRUE(decode_settings_file(s.bytes, back));
  EXPECT_EQ(back.content.list[0].name_text(), std::string(31, 'x'));
}

TEST(SettingsFile, AListOf300FixedTimesIsSavedAsItsFirst255) {
  station st;
  ann_blk a;
  for (int i = 0; i < 300; ++i) a.fixed_times.push_back(i * 60);
  st.content.list.push_back(a);
  const auto bytes = encode_settings_file(st);
  EXPECT_EQ(bytes[465 + 410 + 107 + 1 + 65], 255);
  station back;
  ASSERT_TRUE(decode_settings_file(bytes, back));
  ASSERT_EQ(back.content.list[0].fixed_times.size(), 255u);
  EXPECT_EQ(back.content.list[0].fixed_times.back(), 254 * 60);
}

TEST(SettingsStore, SaveThenLoadThroughTheDataFolder) {
  temp_folder dir;
  sample s;
  s.st.data_folder = dir.path();
  s.st.content.list[0].clip = -1;  // no clip file to keep
  ASSERT_TRUE(save_settings(s.st));
  EXPECT_EQ(dir.names(), std::vector<std::string>{"vrxpa.dat"}) << "no temporary file left behind";
  station back(dir.path(), 0);
  load_settings(back);
  EXPECT_EQ(back.content.list[0].name_text(), "Specials");
  EXPECT_EQ(back.settings, s.st.settings);
}

TEST(SettingsStore, AFailedSaveLeavesTheOldFileAndNoLitter) {
  temp_folder dir;
  station st(dir.path(), 0);
  // A folder where the file should be: the rename over it fails like a full disk would.
  std::filesystem::create_directory(dir.file("vrxpa.dat"));
  EXPECT_FALSE(save_settings(st));
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("vrxpa.dat")));
  EXPECT_EQ(dir.names().size(), 1u);
}

TEST(SettingsStore, MissingFileKeepsDefaultsAndLoadReleasesUnreferencedClips) {
  temp_folder dir;
  station st(dir.path(), 0);
  st.clip_use[4] = clip_allocated;
  dir.write("afl004.aud", std::string("xx"));
  load_settings(st);
  EXPECT_EQ(st.settings.announcement_level, 65);
  EXPECT_FALSE(dir.exists("afl004.aud")) << "the clean-up after loading deletes what nobody owns";
  EXPECT_EQ(st.clip_use[4], 0);
}

}  // namespace
}  // namespace zta
