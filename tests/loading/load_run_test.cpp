// Starting a load by each method, the FTP statuses, and the daily check rule.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>

#include "base/byte_codec.hpp"
#include "loading/load_run.hpp"
#include "loading/update_due.hpp"
#include "platform/sim/folder_ftp_client.hpp"
#include "tests/loading/loading_helpers.hpp"

namespace zta {
namespace {

using test::record;
using test::temp_folder;

std::vector<std::uint8_t> one_sound_package(std::int32_t stamp, std::int32_t samples) {
  package_build b;
  b.records = {record("r" + std::to_string(stamp), stamp, samples)};
  return build_package_file(b, {test::sound_for(b.records[0], false, 3)});
}

bool run(load_run& r) {
  r.start();
  int guard = 0;
  while (r.step() && ++guard < 100000) {
  }
  return r.state() == load_state::succeeded;
}

TEST(LoadRun, FileMethodFallsBackToTheDownloadedPackage) {
  temp_folder dir;
  station st(dir.path(), test::test_now);
  st.content.owner.set_customer_number(77);
  st.load_opts.method = load_method::file;
  set_field_text(st.load_opts.file_path, dir.file("missing.vrx"));
  dir.write("pa77.vrx", one_sound_package(5, 300));
  load_run r(st, {});
  EXPECT_TRUE(run(r));
  EXPECT_EQ(r.status_text(), status_unpacking);
  ASSERT_EQ(st.content.list.count(), 1);
  EXPECT_EQ(st.content.list[0].id_stamp, 5);
  EXPECT_EQ(st.content.list[0].clip, 0);
}

TEST(LoadRun, MissingFileFailsSilentlyAndRefusedPackageSaysWhy) {
  temp_folder dir;
  station st(dir.path(), test::test_now);
  st.load_opts.method = load_method::file;
  set_field_text(st.load_opts.file_path, dir.file("none.vrx"));
  load_run missing(st, {});
  EXPECT_FALSE(run(missing));
  EXPECT_EQ(missing.error(), package_error::none);

  auto bytes = one_sound_package(5, 300);
  bytes[0] = 7;  // version 7
  dir.write("bad.vrx", bytes);
  set_field_text(st.load_opts.file_path, dir.file("bad.vrx"));
  load_run refused(st, {});
  EXPECT_FALSE(run(refused));
  EXPECT_EQ(refused.error(), package_error::unsupported);
  EXPECT_EQ(st.content.list.count(), 0);
}

TEST(LoadRun, WavPathIsImportedNotReadAsAPackage) {
  temp_folder dir;
  station st(dir.path(), test::test_now);
  st.load_opts.method = load_method::file;
  // A package under a .Wav name: imported as a WAV, so its list never arrives.
  dir.write("sound.Wav", one_sound_package(5, 300));
  set_field_text(st.load_opts.file_path, dir.file("sound.Wav"));
  std::string imported;
  int steps = 0;
  load_environment env;
  env.import_wav = [&](station&, const std::string& path) {
    imported = path;
    return wav_import_steps{[&] { return ++steps < 3; }, [] { return true; }, [] {}};
  };
  load_run r(st, env);
  EXPECT_TRUE(run(r));
  EXPECT_EQ(imported, dir.file("sound.Wav"));
  EXPECT_EQ(steps, 3);
  EXPECT_EQ(st.content.list.count(), 0);

  // A failed import goes on as for a package.
  env.import_wav = [](station&, const std::string&) {
    return wav_import_steps{[] { return false; }, [] { return false; }, [] {}};
  };
  load_run again(st, env);
  EXPECT_TRUE(run(again));
  EXPECT_EQ(st.content.list.count(), 1);
  EXPECT_TRUE(is_wav_path("/x/a.wav"));
  EXPECT_TRUE(is_wav_path("a.WAVE"));
  EXPECT_FALSE(is_wav_path("/x.wav/a.vrx"));
  EXPECT_FALSE(is_wav_path("wav"));
}

TEST(LoadRun, DiskMethodReadsTheChosenDrive) {
  temp_folder dir, drive_b;
  station st(dir.path(), test::test_now);
  st.load_opts.method = load_method::disk;
  st.load_opts.drive = 1;
  package_build b;
  b.records = {record("d", 9, 100)};
  package_sound s = test::sound_for(b.records[0], true, 4);
  auto disks = build_disk_set(b, {s}, 1440 * 1024);
  ASSERT_EQ(disks.size(), 1u);
  drive_b.write("data.npd", disks[0].data_npd);
  drive_b.write("a.aud", disks[0].pieces[0]);
  load_environment env;
  env.drive_a = dir.file("nowhere");
  env.drive_b = drive_b.path();
  load_run r(st, env);
  EXPECT_TRUE(run(r));
  ASSERT_EQ(st.content.list.count(), 1);
  EXPECT_EQ(test::clip_samples(dir, st.content.list[0].clip), s.code.reconstruction);
}

// Statuses queued by the worker and handed to the load on the test's thread, as a dialog would.
struct status_queue {
  std::mutex m;
  std::condition_variable cv;
  std::vector<std::pair<ftp_status, std::int32_t>> items;
  void post(ftp_status s, std::int32_t v) {
    std::lock_guard lock(m);
    items.emplace_back(s, v);
    cv.notify_all();
  }
  std::optional<std::pair<ftp_status, std::int32_t>> take() {
    std::unique_lock lock(m);
    cv.wait_for(lock, std::chrono::seconds(30), [&] { return !items.empty(); });
    if (items.empty()) return std::nullopt;
    auto v = items.front();
    items.erase(items.begin());
    return v;
  }
};

// A file on the stand-in server, last modified at 1709814896.
void serve(const temp_folder& server, const std::string& name,
           const std::vector<std::uint8_t>& bytes) {
  server.write(name, bytes);
  struct timespec times[2] = {{1709814896, 0}, {1709814896, 0}};
  ::utimensat(AT_FDCWD, server.file(name).c_str(), times, 0);
}

TEST(LoadRun, FtpMethodFollowsTheWorkersStatuses) {
  temp_folder dir, server;
  station st(dir.path(), test::test_now);
  st.content.owner.set_customer_number(12);
  st.load_opts.method = load_method::ftp;
  serve(server, "pa12.vrx", one_sound_package(8, 500));
  const std::int32_t remote_stamp = ftp_stamp_of_unix_time(1709814896);
  st.load_opts.ftp_stamp = remote_stamp;
  for (bool changed : {false, true}) {
    if (changed) st.load_opts.ftp_stamp = 100;
    inet_class inet(std::make_shared<folder_ftp_client>(server.path()));
    status_queue q;
    load_environment env;
    env.inet = &inet;
    env.post = [&](ftp_status s, std::int32_t v) { q.post(s, v); };
    st.load_opts.last_success = 1;
    st.load_opts.last_attempt = 1;
    load_run r(st, env);
    r.start();
    EXPECT_EQ(r.state(), load_state::waiting_for_ftp);
    std::vector<std::string> texts;
    while (r.state() == load_state::waiting_for_ftp) {
      auto status = q.take();
      ASSERT_TRUE(status) << "no status from the worker";
      r.on_ftp_status(status->first, status->second);
      texts.push_back(r.status_text());
    }
    while (r.step()) {
    }
    EXPECT_EQ(st.load_opts.last_success, test::test_now);
    EXPECT_EQ(st.load_opts.last_attempt, test::test_now);
    if (!changed) {
      EXPECT_EQ(r.state(), load_state::failed) << "nothing new";
      EXPECT_EQ(texts.front(), status_connecting);
      EXPECT_FALSE(dir.exists("pa12.vrx"));
    } else {
      EXPECT_EQ(r.state(), load_state::succeeded);
      EXPECT_EQ(texts[1], status_downloading);
      EXPECT_EQ(st.load_opts.ftp_stamp, remote_stamp);
      ASSERT_EQ(st.content.list.count(), 1);
      EXPECT_TRUE(valid_clip(st.content.list[0].clip));
    }
  }
  // A failure records the attempt only.
  st.load_opts.last_success = 1;
  load_run failed(st, {});
  failed.start();
  EXPECT_EQ(failed.state(), load_state::failed) << "no worker at all";
  inet_class inet(std::make_shared<folder_ftp_client>(server.path()));
  load_environment env;
  env.inet = &inet;
  load_run r(st, env);
  r.start();
  r.on_ftp_status(ftp_status::failed, 0);
  EXPECT_EQ(r.state(), load_state::failed);
  EXPECT_EQ(st.load_opts.last_success, 1);
}

struct due_case {
  const char* what;
  load_method method;
  std::int32_t interval;
  std::int32_t min_retry;
  std::int32_t secs;  // time of day of now
  std::int32_t since_success;
  std::int32_t since_attempt;
  std::int32_t customer;
  bool due;
};

TEST(UpdateDue, Rules) {
  const std::int32_t day = 20000 * 86400;  // a midnight
  const due_case cases[] = {
      {"daily, 07:00:00", load_method::ftp, 86400, 6000, 25200, 86400, 6000, 10, true},
      {"daily, 07:00:01", load_method::ftp, 86400, 6000, 25201, 86400, 6000, 10, false},
      {"daily, at the spread start 00:50", load_method::ftp, 86400, 6000, 3000, 90000, 6000, 10,
       true},
      {"daily, before the spread start", load_method::ftp, 86400, 6000, 2999, 90000, 6000, 10,
       false},
      {"customer 74 is slot 10 too", load_method::ftp, 86400, 6000, 3000, 90000, 6000, 74, true},
      {"disk method", load_method::disk, 86400, 6000, 3600, 90000, 6000, 0, false},
      {"file method", load_method::file, 86400, 6000, 3600, 90000, 6000, 0, true},
      {"interval off", load_method::ftp, -1, 6000, 3600, 90000, 6000, 0, false},
      {"retry 0", load_method::ftp, 86400, 0, 3600, 90000, 6000, 0, false},
      {"interval not yet over", load_method::ftp, 86400, 6000, 3600, 86399, 6000, 0, false},
      {"retry time not over", load_method::ftp, 86400, 6000, 3600, 90000, 5999, 0, false},
      {"hourly at 12:00", load_method::ftp, 3600, 6000, 43200, 3600, 6000, 0, true},
      {"hourly at 23:59", load_method::ftp, 3600, 6000, 86399, 3600, 6000, 63, true},
  };
  for (const due_case& c : cases) {
    temp_folder dir;
    station st(dir.path(), 0);
    st.clock.set(day + c.secs);
    st.load_opts.method = c.method;
    st.load_opts.update_interval = c.interval;
    st.load_opts.min_retry = c.min_retry;
    st.load_opts.last_success = st.clock.now - c.since_success;
    st.load_opts.last_attempt = st.clock.now - c.since_attempt;
    st.content.owner.set_customer_number(c.customer);
    EXPECT_EQ(update_due(st), c.due) << c.what;
  }
}

}  // namespace
}  // namespace zta

namespace zta {
namespace {

void write_wav(const test::temp_folder& dir, const std::string& name, std::size_t frames) {
  std::vector<std::uint8_t> b;
  byte_writer w(b);
  w.bytes("RIFF", 4);
  w.u32(static_cast<std::uint32_t>(36 + frames * 2));
  w.bytes("WAVEfmt ", 8);
  w.u32(16);
  w.u16(1);
  w.u16(1);
  w.u32(22050);
  w.u32(44100);
  w.u16(2);
  w.u16(16);
  w.bytes("data", 4);
  w.u32(static_cast<std::uint32_t>(frames * 2));
  for (std::size_t i = 0; i < frames; ++i) {
    w.i16(static_cast<std::int16_t>(std::sin(static_cast<double>(i) * 0.125) * 12000));
  }
  dir.write(name, b);
}

TEST(LoadRun, WavFileIsImportedAsANewAnnouncement) {
  test::temp_folder dir;
  station st(dir.path(), test::test_now);
  st.load_opts.method = load_method::file;
  write_wav(dir, "tone.WAV", 22050);
  set_field_text(st.load_opts.file_path, dir.file("tone.WAV"));
  load_environment env;
  env.import_wav = default_wav_importer();
  load_run r(st, env);
  EXPECT_TRUE(run(r));
  ASSERT_EQ(st.content.list.count(), 1);
  EXPECT_EQ(st.content.list[0].user_made, 1);
  EXPECT_TRUE(valid_clip(st.content.list[0].clip));
  EXPECT_GT(test::clip_samples(dir, st.content.list[0].clip).size(), 10000u);
}

}  // namespace
}  // namespace zta

namespace zta {
namespace {

// The FTP method's environment: the worker's statuses go to `q`, taken by the test's thread.
load_environment queued_ftp(inet_class& inet, status_queue& q) {
  load_environment env;
  env.inet = &inet;
  env.post = [&q](ftp_status s, std::int32_t v) { q.post(s, v); };
  return env;
}

TEST(LoadRun, DamagedDownloadKeepsTheOldStampSoItIsFetchedAgain) {
  temp_folder dir, server;
  station st(dir.path(), test::test_now);
  st.content.owner.set_customer_number(12);
  st.load_opts.method = load_method::ftp;
  st.load_opts.ftp_stamp = 100;
  auto damaged = one_sound_package(8, 500);
  damaged[0] = 7;  // a version no reader knows
  serve(server, "pa12.vrx", damaged);
  inet_class inet(std::make_shared<folder_ftp_client>(server.path()));
  status_queue q;
  load_run r(st, queued_ftp(inet, q));
  r.start();
  while (r.state() == load_state::waiting_for_ftp) {
    auto status = q.take();
    ASSERT_TRUE(status) << "no status from the worker";
    r.on_ftp_status(status->first, status->second);
  }
  while (r.step()) {
  }
  EXPECT_EQ(r.state(), load_state::failed);
  EXPECT_EQ(r.error(), package_error::unsupported);
  EXPECT_EQ(st.load_opts.ftp_stamp, 100) << "the damaged file would never be fetched again";
  EXPECT_EQ(st.load_opts.last_attempt, test::test_now);
}

}  // namespace
}  // namespace zta

namespace zta {
namespace {

TEST(InetClass, ThreadThatCannotStartStillEndsTheRequestWithFailed) {
  temp_folder dir, server;
  int starts = 0;
  inet_class inet(
      std::make_shared<folder_ftp_client>(server.path()),
      [&starts](const std::function<void()>&) -> std::thread {
        ++starts;
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
      });
  std::vector<ftp_status> seen;
  inet.start_download([&](ftp_status s, std::int32_t) { seen.push_back(s); }, "host", "pa1.vrx",
                      dir.file("pa1.vrx"), 0);
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(seen, std::vector<ftp_status>{ftp_status::failed});
  EXPECT_FALSE(inet.running());

  // A load waiting for that worker ends instead of waiting for ever.
  station st(dir.path(), test::test_now);
  st.load_opts.method = load_method::ftp;
  status_queue q;
  load_run r(st, queued_ftp(inet, q));
  r.start();
  auto status = q.take();
  ASSERT_TRUE(status) << "no status was posted";
  r.on_ftp_status(status->first, status->second);
  EXPECT_EQ(r.state(), load_state::failed);
  EXPECT_EQ(st.load_opts.last_attempt, test::test_now);
}

}  // namespace
}  // namespace zta
