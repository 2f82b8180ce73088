#pragma once
// The systemd notification protocol, spoken directly (no library): one datagram per state,
// "READY=1", "WATCHDOG=1" or "STOPPING=1", sent to the unix socket named by NOTIFY_SOCKET (a path,
// or "@name" in the abstract namespace). Pings go out only while the manager watches this process
// (WATCHDOG_USEC set, and WATCHDOG_PID, when set, ours), at most every quarter of its interval.
#include <sys/socket.h>
#include <sys/un.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/api/service_notifier.hpp"

namespace zta {

struct notify_environment {
  std::string socket;              // NOTIFY_SOCKET; empty: no manager listens
  std::int64_t watchdog_usec = 0;  // WATCHDOG_USEC; 0: no watchdog
  std::int64_t watchdog_pid = 0;   // WATCHDOG_PID; 0: not given
};
// The values as the manager gives them (null for a variable that is not set). A value that is
// not a whole positive number counts as not given.
notify_environment notify_environment_from(const char* notify_socket, const char* watchdog_usec,
                                           const char* watchdog_pid);
notify_environment notify_environment_from_process();

class systemd_notifier final : public service_notifier {
 public:
  using steady_now = std::function<std::chrono::steady_clock::time_point()>;
  explicit systemd_notifier(notify_environment env,
                            steady_now now = std::chrono::steady_clock::now);
  ~systemd_notifier() override;
  systemd_notifier(const systemd_notifier&) = delete;
  systemd_notifier& operator=(const systemd_notifier&) = delete;

  void ready() override;
  void alive() override;
  void stopping() override;

  // Whether a manager listens (a usable socket name) and whether it watches this process.
  bool active() const { return address_length_ > 0; }
  bool watched() const;
  // One datagram; false when it could not be sent (no socket, a full queue, nobody bound).
  bool send(std::string_view state);

 private:
  notify_environment env_;
  steady_now now_;
  int fd_ = -1;
  socklen_t address_length_ = 0;  // 0: no usable address
  sockaddr_un address_{};
  bool pinged_ = false;
  std::chrono::steady_clock::time_point last_ping_{};
};

}  // namespace zta
