#include "app/shutdown_signals.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace zta {

namespace {

// The write end must be reachable from the handler, which can take no context: the one
// process-wide value a signal handler needs.
int signal_fd = -1;

void on_signal(int) {
  char c = 1;
  if (signal_fd >= 0) [[maybe_unused]]
    ssize_t n = ::write(signal_fd, &c, 1);
}

}  // namespace

shutdown_signals::shutdown_signals(std::function<void()> fn, QObject* parent)
    : QObject(parent), on_signal_(std::move(fn)) {
  int fds[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0) return;
  signal_fd = fds[0];
  notifier_ = new QSocketNotifier(fds[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] {
    char buf[16];
    while (::read(static_cast<int>(notifier_->socket()), buf, sizeof buf) > 0) {
    }
    if (on_signal_) on_signal_();
  });
  struct sigaction sa {};
  sa.sa_handler = on_signal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int s : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(s, &sa, nullptr);
}

shutdown_signals::~shutdown_signals() {
  struct sigaction sa {};
  sa.sa_handler = SIG_DFL;
  for (int s : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(s, &sa, nullptr);
  if (notifier_ != nullptr) ::close(static_cast<int>(notifier_->socket()));
  if (signal_fd >= 0) ::close(signal_fd);
  signal_fd = -1;
}

}  // namespace zta
