#include "platform/xdg/systemd_notifier.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace zta {

namespace {

std::int64_t positive_number(const char* text) {
  if (text == nullptr || *text == '\0') return 0;
  std::int64_t v = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9' || v > (INT64_MAX - 9) / 10) return 0;
    v = v * 10 + (*p - '0');
  }
  return v;
}

}  // namespace

notify_environment notify_environment_from(const char* notify_socket, const char* watchdog_usec,
                                           const char* watchdog_pid) {
  notify_environment e;
  if (notify_socket != nullptr) e.socket = notify_socket;
  e.watchdog_usec = positive_number(watchdog_usec);
  e.watchdog_pid = positive_number(watchdog_pid);
  return e;
}

notify_environment notify_environment_from_process() {
  return notify_environment_from(std::getenv("NOTIFY_SOCKET"), std::getenv("WATCHDOG_USEC"),
                                 std::getenv("WATCHDOG_PID"));
}

systemd_notifier::systemd_notifier(notify_environment env, steady_now now)
    : env_(std::move(env)), now_(std::move(now)) {
  const std::string& name = env_.socket;
  // A path, or "@" for the abstract namespace; anything else (or too long) is no address.
  if (name.size() < 2 || name.size() >= sizeof address_.sun_path) return;
  if (name[0] != '/' && name[0] != '@') return;
  address_.sun_family = AF_UNIX;
  std::memcpy(address_.sun_path, name.data(), name.size());
  if (name[0] == '@') address_.sun_path[0] = '\0';
  address_length_ = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
}

systemd_notifier::~systemd_notifier() {
  if (fd_ >= 0) ::close(fd_);
}

bool systemd_notifier::watched() const {
  return active() && env_.watchdog_usec > 0 &&
         (env_.watchdog_pid == 0 || env_.watchdog_pid == static_cast<std::int64_t>(::getpid()));
}

bool systemd_notifier::send(std::string_view state) {
  if (!active()) return false;
  if (fd_ < 0) fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd_ < 0) return false;
  for (;;) {
    const ssize_t n = ::sendto(fd_, state.data(), state.size(), MSG_NOSIGNAL,
                               reinterpret_cast<const sockaddr*>(&address_), address_length_);
    if (n >= 0) return static_cast<std::size_t>(n) == state.size();
    if (errno != EINTR) return false;
  }
}

void systemd_notifier::ready() {
  send("READY=1");
}

void systemd_notifier::alive() {
  if (!watched()) return;
  const auto now = now_ ? now_() : std::chrono::steady_clock::now();
  const auto quarter = std::chrono::microseconds(env_.watchdog_usec / 4);
  if (pinged_ && now >= last_ping_ && now - last_ping_ < quarter) return;
  // A ping that could not go out is tried again at the next tick.
  if (!send("WATCHDOG=1")) return;
  pinged_ = true;
  last_ping_ = now;
}

void systemd_notifier::stopping() {
  send("STOPPING=1");
}

}  // namespace zta
