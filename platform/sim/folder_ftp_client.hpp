#pragma once
// A stand-in FTP server for tests and demos: serves the files of a local folder. The stamp comes
// from the file's modification time exactly as a real server's would; the server name is
// ignored. A missing folder behaves as a server that is down.
#include <string>

#include "platform/api/ftp_client.hpp"

namespace zta {

class folder_ftp_client final : public ftp_client {
 public:
  explicit folder_ftp_client(std::string folder);
  ftp_lookup remote_stamp(const std::string& server, const std::string& remote_name,
                          std::int32_t& stamp) override;
  bool download(const std::string& server, const std::string& remote_name,
                const std::string& local_path, const std::function<bool()>& cancelled) override;

 private:
  std::string folder_;  // with a trailing '/'
};

}  // namespace zta
