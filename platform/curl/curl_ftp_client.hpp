#pragma once
// ftp_client over libcurl: anonymous ftp://server/name.
#include "platform/api/ftp_client.hpp"

namespace zta {

class curl_ftp_client final : public ftp_client {
 public:
  curl_ftp_client();
  ~curl_ftp_client() override;
  ftp_lookup remote_stamp(const std::string& server, const std::string& remote_name,
                          std::int32_t& stamp) override;
  bool download(const std::string& server, const std::string& remote_name,
                const std::string& local_path, const std::function<bool()>& cancelled) override;
};

}  // namespace zta
