// The systemd notification protocol against a socket the test binds, as the service manager
// would.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "platform/xdg/systemd_notifier.hpp"
#include "tests/common/temp_folder.hpp"

namespace zta {
namespace {

using steady = std::chrono::steady_clock;

// A bound datagram socket standing for the service manager.
class fake_manager {
 public:
  // `name` is a path, or "@..." for the abstract namespace.
  explicit fake_manager(const std::string& name) {
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::memcpy(a.sun_path, name.data(), name.size());
    if (name[0] == '@') a.sun_path[0] = '\0';
    bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&a),
                    static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size())) == 0;
  }
  ~fake_manager() { ::close(fd_); }
  fake_manager(const fake_manager&) = delete;
  fake_manager& operator=(const fake_manager&) = delete;

  bool bound() const { return bound_; }
  // Every datagram waiting now.
  std::vector<std::string> received() {
    std::vector<std::string> out;
    char buf[256];
    for (;;) {
      const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
      if (n < 0) return out;
      out.emplace_back(buf, static_cast<std::size_t>(n));
    }
  }

 private:
  int fd_ = -1;
  bool bound_ = false;
};

using texts = std::vector<std::string>;

TEST(SystemdNotifier, ReadyPingsAndStoppingReachAPathAndAnAbstractSocket) {
  test::temp_folder dir;
  const std::string abstract = "@zta-notify-test-" + std::to_string(::getpid());
  for (const std::string& name : {dir.file("notify"), abstract}) {
    fake_manager manager(name);
    ASSERT_TRUE(manager.bound()) << name;
    systemd_notifier n(notify_environment_from(name.c_str(), "30000000", nullptr));
    EXPECT_TRUE(n.active());
    EXPECT_TRUE(n.watched());
    n.ready();
    n.alive();
    n.stopping();
    EXPECT_EQ(manager.received(), (texts{"READY=1", "WATCHDOG=1", "STOPPING=1"})) << name;
  }
}

TEST(SystemdNotifier, PingsAtMostEveryQuarterOfTheWatchdogInterval) {
  test::temp_folder dir;
  fake_manager manager(dir.file("notify"));
  ASSERT_TRUE(manager.bound());
  steady::time_point now{};
  systemd_notifier n(notify_environment_from(dir.file("notify").c_str(), "8000000", nullptr),
                     [&] { return now; });
  n.alive();
  now += std::chrono::milliseconds(1999);
  n.alive();
  EXPECT_EQ(manager.received(), texts{"WATCHDOG=1"});
  now += std::chrono::milliseconds(1);
  n.alive();
  EXPECT_EQ(manager.received(), texts{"WATCHDOG=1"});
  // A clock that went back pings at once rather than falling silent.
  now -= std::chrono::hours(1);
  n.alive();
  EXPECT_EQ(manager.received(), texts{"WATCHDOG=1"});
}

struct unwatched_case {
  const char* name;
  const char* usec;
  const char* pid;  // "self" for our own pid
};
void PrintTo(const unwatched_case& c, std::ostream* os) {
  *os << c.name;
}

class Unwatched : public ::testing::TestWithParam<unwatched_case> {};

TEST_P(Unwatched, SendsReadyButNoPings) {
  test::temp_folder dir;
  fake_manager manager(dir.file("notify"));
  ASSERT_TRUE(manager.bound());
  systemd_notifier n(
      notify_environment_from(dir.file("notify").c_str(), GetParam().usec, GetParam().pid));
  EXPECT_FALSE(n.watched());
  n.ready();
  n.alive();
  EXPECT_EQ(manager.received(), texts{"READY=1"});
}

INSTANTIATE_TEST_SUITE_P(Notify, Unwatched,
                         ::testing::Values(unwatched_case{"NoInterval", nullptr, nullptr},
                                           unwatched_case{"ZeroInterval", "0", nullptr},
                                           unwatched_case{"GarbageInterval", "30s", nullptr},
                                           unwatched_case{"HugeInterval", "99999999999999999999999",
                                                          nullptr},
                                           // Inherited by a child of the watched process.
                                           unwatched_case{"AnotherProcess", "30000000", "1"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SystemdNotifier, WatchedWhenThePidIsOurs) {
  const std::string pid = std::to_string(::getpid());
  systemd_notifier n(notify_environment_from("/run/x", "30000000", pid.c_str()));
  EXPECT_TRUE(n.watched());
}

TEST(SystemdNotifier, UnusableSocketNamesSendNothingAndNeverBlock) {
  test::temp_folder dir;
  const std::string too_long = "/" + std::string(sizeof(sockaddr_un{}.sun_path), 'x');
  for (const std::string& name : {std::string(), std::string("relative/notify"), std::string("@"),
                                  too_long, dir.file("nobody-bound")}) {
    systemd_notifier n(notify_environment_from(name.c_str(), "30000000", nullptr));
    EXPECT_FALSE(n.send("READY=1")) << name;
    n.ready();
    n.alive();
    n.stopping();
  }
  systemd_notifier unset(notify_environment_from(nullptr, "30000000", nullptr));
  EXPECT_FALSE(unset.active());
  EXPECT_FALSE(unset.watched());
}

TEST(SystemdNotifier, APingThatCouldNotGoOutIsTriedAtTheNextTick) {
  test::temp_folder dir;
  steady::time_point now{};
  systemd_notifier n(notify_environment_from(dir.file("notify").c_str(), "8000000", nullptr),
                     [&] { return now; });
  n.alive();  // nobody listens yet
  fake_manager manager(dir.file("notify"));
  ASSERT_TRUE(manager.bound());
  now += std::chrono::milliseconds(500);
  n.alive();
  EXPECT_EQ(manager.received(), texts{"WATCHDOG=1"});
}

}  // namespace
}  // namespace zta
