#pragma once
// ftp_client over libcurl: anonymous ftp://server/name.
#include <mutex>
#include <string>

#include "base/error_note.hpp"
#include "platform/api/ftp_client.hpp"

namespace zta {

// What ends a transfer that stalls or never finishes, so every request ends with a status.
struct ftp_limits {
  long low_speed_bytes = 1;     // a transfer slower than this many bytes a second...
  long low_speed_seconds = 60;  // ...for this many seconds fails
  long lookup_seconds = 300;    // the whole stamp lookup
  // The whole download: a generous package (64 MiB) at a slow line (16 KiB/s).
  long download_seconds = (64L << 20) / (16L << 10);
};

class curl_ftp_client final : public ftp_client {
 public:
  explicit curl_ftp_client(ftp_limits limits = {});
  ~curl_ftp_client() override;
  ftp_lookup remote_stamp(const std::string& server, const std::string& remote_name,
                          std::int32_t& stamp) override;
  bool download(const std::string& server, const std::string& remote_name,
                const std::string& local_path, const std::function<bool()>& cancelled) override;
  std::string last_error() const override;

 private:
  void fail(const std::string& what);
  void succeed();

  ftp_limits limits_;
  mutable std::mutex error_lock_;  // the worker thread writes, any thread may ask
  error_note error_{"FTP"};
};

}  // namespace zta
