// A server that answers the FTP commands but sends the file's bytes too slowly, or never: every
// download still ends, with a failure, and replaces nothing.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <future>
#include <map>
#include <string>
#include <thread>

#include "platform/curl/curl_ftp_client.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

// Listens on a free loopback port; -1 on failure.
int listen_loopback(int& port) {
  int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t n = sizeof a;
  if (s < 0 || ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(s, 4) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &n) != 0) {
    if (s >= 0) ::close(s);
    return -1;
  }
  port = ntohs(a.sin_port);
  return s;
}

// One anonymous FTP session: every command is answered, the data connection of RETR then
// carries `bytes_per_second` (0: nothing at all) until the client gives up.
class trickling_ftp_server {
 public:
  explicit trickling_ftp_server(int bytes_per_second) : rate_(bytes_per_second) {
    control_ = listen_loopback(port_);
    data_ = listen_loopback(data_port_);
    if (control_ >= 0 && data_ >= 0) thread_ = std::thread([this] { serve(); });
  }
  ~trickling_ftp_server() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    for (int fd : {control_, data_}) {
      if (fd >= 0) ::close(fd);
    }
  }
  trickling_ftp_server(const trickling_ftp_server&) = delete;
  trickling_ftp_server& operator=(const trickling_ftp_server&) = delete;

  bool running() const { return thread_.joinable(); }
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  // Waits up to 100 ms for `fd` to become readable.
  static bool readable(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 100) > 0;
  }
  int accept_one(int listener) {
    while (!stop_) {
      if (readable(listener)) return ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    }
    return -1;
  }
  static void say(int fd, const std::string& line) {
    const std::string text = line + "\r\n";
    [[maybe_unused]] ssize_t n = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
  }
  void serve() {
    const int c = accept_one(control_);
    if (c < 0) return;
    say(c, "220 ready");
    std::string pending;
    int d = -1;
    auto last_sent = std::chrono::steady_clock::now();
    while (!stop_) {
      if (d >= 0 && rate_ > 0 &&
          std::chrono::steady_clock::now() - last_sent >= std::chrono::milliseconds(1000)) {
        const std::string bytes(static_cast<std::size_t>(rate_), 'x');
        if (::send(d, bytes.data(), bytes.size(), MSG_NOSIGNAL) < 0) break;
        last_sent = std::chrono::steady_clock::now();
      }
      if (!readable(c)) continue;
      char buf[512];
      const ssize_t n = ::recv(c, buf, sizeof buf, 0);
      if (n <= 0) break;
      pending.append(buf, static_cast<std::size_t>(n));
      for (std::size_t eol; (eol = pending.find("\r\n")) != std::string::npos;) {
        const std::string line = pending.substr(0, eol);
        pending.erase(0, eol + 2);
        const std::string verb = line.substr(0, line.find(' '));
        // Fixed answers; the passive port and the transfer are this server's own.
        static const std::map<std::string, std::string> replies = {
            {"USER", "331 any password"}, {"PASS", "230 logged in"}, {"PWD", "257 \"/\""},
            {"TYPE", "200 type set"},     {"SIZE", "213 1000000"},   {"MDTM", "213 20240307120000"},
            {"QUIT", "221 bye"}};
        if (verb == "EPSV") {
          say(c, "229 Entering Extended Passive Mode (|||" + std::to_string(data_port_) + "|)");
        } else if (verb == "RETR") {
          d = accept_one(data_);
          say(c, "150 sending");
          last_sent = std::chrono::steady_clock::now();
        } else if (auto it = replies.find(verb); it != replies.end()) {
          say(c, it->second);
        } else {
          say(c, "502 not here");
        }
      }
    }
    if (d >= 0) ::close(d);
    ::close(c);
  }

  int rate_;
  int port_ = 0;
  int data_port_ = 0;
  int control_ = -1;
  int data_ = -1;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

struct stall_case {
  const char* label;
  int bytes_per_second;  // what the server sends
  ftp_limits limits;
};

void PrintTo(const stall_case& c, std::ostream* os) {
  *os << c.label;
}

class FtpStall : public ::testing::TestWithParam<stall_case> {};

TEST_P(FtpStall, DownloadThatNeverCompletesEndsAsAFailure) {
  const stall_case& c = GetParam();
  trickling_ftp_server server(c.bytes_per_second);
  ASSERT_TRUE(server.running());
  test::temp_folder local;
  local.write("pa7.vrx", std::string("good old package"));
  curl_ftp_client client(c.limits);
  std::atomic<bool> give_up{false};
  auto done = std::async(std::launch::async, [&] {
    return client.download(server.address(), "pa7.vrx", local.file("pa7.vrx"),
                           [&] { return give_up.load(); });
  });
  const bool ended = done.wait_for(std::chrono::seconds(40)) == std::future_status::ready;
  give_up = true;  // a download that does not end by itself is stopped, so the test can fail
  EXPECT_TRUE(ended) << "the download never ended";
  EXPECT_FALSE(done.get());
  auto got = local.read("pa7.vrx");
  EXPECT_EQ(std::string(got.begin(), got.end()), "good old package");
  EXPECT_FALSE(local.exists("pa7.vrx.part"));
}

const stall_case stall_cases[] = {
    {"no_byte_at_all", 0, ftp_limits{1, 2, 300, 300}},
    {"too_slow_to_finish", 8, ftp_limits{1, 60, 300, 3}},
};

INSTANTIATE_TEST_SUITE_P(Limits, FtpStall, ::testing::ValuesIn(stall_cases),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace zta
