#pragma once
// A real vsftpd on 127.0.0.1 for the FTP tests: anonymous, read-only, serving a temporary folder,
// started by the test and stopped by its PID.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/common/temp_folder.hpp"

namespace zta::test {

inline bool port_answers(int port) {
  int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<std::uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  ::close(s);
  return ok;
}

// A port nobody listens on right now (the kernel's choice).
inline int free_port() {
  int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    ::close(s);
    return -1;
  }
  socklen_t n = sizeof a;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &n);
  ::close(s);
  return ntohs(a.sin_port);
}

class ftp_server {
 public:
  // `extra` is appended to the configuration (e.g. a transfer rate limit).
  explicit ftp_server(const std::string& extra = "") : port_(free_port()) {
    std::filesystem::permissions(dir_.path(), std::filesystem::perms(0755));
    root_ = dir_.path() + "root/";
    std::filesystem::create_directories(root_);
    ::chmod(root_.c_str(), 0755);
    std::filesystem::create_directories("/var/run/vsftpd/empty");
    const int pasv = 20000 + (port_ % 20000);
    std::ofstream conf(dir_.file("vsftpd.conf"));
    conf << "listen=YES\nlisten_ipv6=NO\nlisten_address=127.0.0.1\nlisten_port=" << port_
         << "\nbackground=NO\nanonymous_enable=YES\nno_anon_password=YES\nanon_root=" << root_
         << "\nlocal_enable=NO\nwrite_enable=NO\npasv_enable=YES\npasv_address=127.0.0.1\n"
         << "pasv_min_port=" << pasv << "\npasv_max_port=" << pasv + 200
         << "\nconnect_from_port_20=NO\nseccomp_sandbox=NO\n"
         << "secure_chroot_dir=/var/run/vsftpd/empty\nuse_localtime=NO\n"
         << extra;
    conf.close();
    const std::string conf_path = dir_.file("vsftpd.conf");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::execl("/usr/sbin/vsftpd", "vsftpd", conf_path.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    for (int i = 0; i < 500 && !port_answers(port_); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~ftp_server() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  ftp_server(const ftp_server&) = delete;
  ftp_server& operator=(const ftp_server&) = delete;

  bool running() const { return pid_ > 0 && port_answers(port_); }
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
  // Places a file in the served folder with the given modification time (seconds since 1970).
  void put(const std::string& name, const std::string& bytes, std::int64_t mtime) const {
    std::ofstream(root_ + name, std::ios::binary) << bytes;
    struct timespec times[2] = {{static_cast<time_t>(mtime), 0}, {static_cast<time_t>(mtime), 0}};
    ::utimensat(AT_FDCWD, (root_ + name).c_str(), times, 0);
  }

 private:
  temp_folder dir_;
  std::string root_;
  int port_;
  pid_t pid_ = -1;
};

}  // namespace zta::test
