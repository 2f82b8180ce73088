// The FTP download worker against a real FTP server on the loopback interface.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "loading/inet_class.hpp"
#include "platform/curl/curl_ftp_client.hpp"
#include "tests/platform/ftp_server.hpp"

namespace zta {
namespace {

using test::ftp_server;
using test::temp_folder;

constexpr std::int64_t remote_mtime = 1709814896;
constexpr std::int32_t remote_stamp = 0x01DA708B;

// The statuses one request posted, in order.
struct statuses {
  std::mutex m;
  std::condition_variable cv;
  std::vector<std::pair<int, std::int32_t>> seen;

  ftp_post poster() {
    return [this](ftp_status s, std::int32_t v) {
      std::lock_guard lock(m);
      seen.emplace_back(static_cast<int>(s), v);
      cv.notify_all();
    };
  }
  bool wait_for(ftp_status status) {
    std::unique_lock lock(m);
    return cv.wait_for(lock, std::chrono::seconds(60), [&] {
      for (auto& [s, v] : seen) {
        if (s == static_cast<int>(status)) return true;
      }
      return false;
    });
  }
  bool wait_final() {
    std::unique_lock lock(m);
    return cv.wait_for(lock, std::chrono::seconds(60), [&] {
      return !seen.empty() && is_final(static_cast<ftp_status>(seen.back().first));
    });
  }
  // The statuses as the values of the worker's message.
  std::vector<int> codes() {
    std::lock_guard lock(m);
    std::vector<int> out;
    for (auto& [s, v] : seen) out.push_back(s);
    return out;
  }
  std::int32_t last_value() {
    std::lock_guard lock(m);
    return seen.empty() ? -1 : seen.back().second;
  }
};

std::shared_ptr<ftp_client> curl() {
  return std::make_shared<curl_ftp_client>();
}

TEST(FtpStamp, HighBitsOfTheFileTime) {
  EXPECT_EQ(ftp_stamp_of_unix_time(remote_mtime), remote_stamp);
  EXPECT_EQ(ftp_stamp_of_unix_time(0), static_cast<std::int32_t>(116444736000000000ULL >> 32));
}

TEST(FtpWorker, NewFileIsDownloadedWithItsStamp) {
  ftp_server server;
  ASSERT_TRUE(server.running());
  const std::string body(100000, 'p');
  server.put("pa7.vrx", body, remote_mtime);
  temp_folder local;
  statuses st;
  {
    inet_class inet(curl());
    inet.start_download(st.poster(), server.address(), "pa7.vrx", local.file("pa7.vrx"), 0);
    ASSERT_TRUE(st.wait_final());
  }
  EXPECT_EQ(st.codes(), (std::vector<int>{3, 4, 1}));
  EXPECT_EQ(st.last_value(), remote_stamp);
  auto got = local.read("pa7.vrx");
  EXPECT_EQ(std::string(got.begin(), got.end()), body);
  EXPECT_FALSE(local.exists("pa7.vrx.part"));
}

TEST(FtpWorker, UnchangedStampOrMissingFileIsNothingNew) {
  ftp_server server;
  ASSERT_TRUE(server.running());
  server.put("pa7.vrx", "new content", remote_mtime);
  temp_folder local;
  local.write("pa7.vrx", std::string("old content"));
  struct stat before {};
  ::stat(local.file("pa7.vrx").c_str(), &before);
  for (const char* name : {"pa7.vrx", "pa8.vrx"}) {
    statuses st;
    inet_class inet(curl());
    inet.start_download(st.poster(), server.address(), name, local.file("pa7.vrx"), remote_stamp);
    ASSERT_TRUE(st.wait_final()) << name;
    EXPECT_EQ(st.codes(), (std::vector<int>{3, 2})) << name;
    EXPECT_EQ(st.last_value(), remote_stamp) << "the known stamp";
  }
  auto got = local.read("pa7.vrx");
  EXPECT_EQ(std::string(got.begin(), got.end()), "old content");
  struct stat after {};
  ::stat(local.file("pa7.vrx").c_str(), &after);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

TEST(FtpWorker, ServerDownFails) {
  temp_folder local;
  statuses st;
  inet_class inet(curl());
  inet.start_download(st.poster(), "127.0.0.1:" + std::to_string(test::free_port()), "pa1.vrx",
                      local.file("pa1.vrx"), 5);
  ASSERT_TRUE(st.wait_final());
  EXPECT_EQ(st.codes().back(), 0);
  EXPECT_EQ(st.last_value(), 0);
  EXPECT_FALSE(local.exists("pa1.vrx"));
}

// A slow server (rate-limited), so a transfer is certainly running while the test acts.
constexpr char slow[] = "anon_max_rate=40000\nuse_sendfile=NO\n";
const std::string big(2'000'000, 'b');

TEST(FtpWorker, SecondRequestWhileRunningFailsAtOnce) {
  ftp_server server(slow);
  ASSERT_TRUE(server.running());
  server.put("pa7.vrx", std::string(120'000, 'c'), remote_mtime);
  temp_folder local;
  statuses first, second;
  inet_class inet(curl());
  inet.start_download(first.poster(), server.address(), "pa7.vrx", local.file("pa7.vrx"), 0);
  ASSERT_TRUE(first.wait_for(ftp_status::downloading));
  inet.start_download(second.poster(), server.address(), "pa7.vrx", local.file("other.vrx"), 0);
  EXPECT_EQ(second.codes(), (std::vector<int>{0})) << "posted before start_download returned";
  ASSERT_TRUE(first.wait_final());
  EXPECT_EQ(first.codes(), (std::vector<int>{3, 4, 1}));
  EXPECT_EQ(second.codes(), (std::vector<int>{0}));
  EXPECT_FALSE(local.exists("other.vrx"));
}

TEST(FtpWorker, DestructionDuringATransferPostsNothingMore) {
  ftp_server server(slow);
  ASSERT_TRUE(server.running());
  server.put("pa7.vrx", big, remote_mtime);
  temp_folder local;
  local.write("pa7.vrx", std::string("good old package"));
  statuses st;
  auto started = std::chrono::steady_clock::now();
  {
    inet_class inet(curl());
    inet.start_download(st.poster(), server.address(), "pa7.vrx", local.file("pa7.vrx"), 0);
    ASSERT_TRUE(st.wait_for(ftp_status::downloading));
    started = std::chrono::steady_clock::now();
  }
  // The transfer would take 50 s; the worker is stopped instead of waited out.
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(st.codes(), (std::vector<int>{3, 4}));
  auto got = local.read("pa7.vrx");
  EXPECT_EQ(std::string(got.begin(), got.end()), "good old package")
      << "a broken transfer replaces nothing";
  EXPECT_FALSE(local.exists("pa7.vrx.part"));
}

}  // namespace
}  // namespace zta
