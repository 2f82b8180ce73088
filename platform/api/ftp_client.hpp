#pragma once
// The FTP service the download worker uses: anonymous login, one file's modification stamp, a
// binary download. Called from the worker thread only; an implementation keeps no state between
// calls that another thread could touch.
#include <cstdint>
#include <functional>
#include <string>

namespace zta {

enum class ftp_lookup {
  found,    // the stamp was read
  missing,  // the server answered and has no such file
  failed,   // no connection, login refused, or another failure
};

class ftp_client {
 public:
  virtual ~ftp_client() = default;

  // `server` is a host name, optionally "host:port" (port 21 otherwise). The stamp is the upper
  // 32 bits of the file's last-write time as a count of 100 ns units since 1601-01-01 UTC.
  virtual ftp_lookup remote_stamp(const std::string& server, const std::string& remote_name,
                                  std::int32_t& stamp) = 0;
  // Fetches the file in binary mode into a temporary file beside `local_path` and renames it into
  // place, so a broken transfer never replaces a good file. `cancelled` is polled during the
  // transfer; when it returns true the transfer stops and fails. True on success.
  virtual bool download(const std::string& server, const std::string& remote_name,
                        const std::string& local_path, const std::function<bool()>& cancelled) = 0;
  // Why the last request failed (the server's or the library's reason), as the backend says
  // it; empty after a success or when the backend cannot say. A backend also writes each new
  // reason to stderr.
  virtual std::string last_error() const { return {}; }
};

// The stamp of a modification time given in seconds since 1970-01-01 UTC.
inline std::int32_t ftp_stamp_of_unix_time(std::int64_t unix_seconds) {
  std::uint64_t filetime = static_cast<std::uint64_t>(unix_seconds + 11644473600LL) * 10000000ULL;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(filetime >> 32));
}

}  // namespace zta
