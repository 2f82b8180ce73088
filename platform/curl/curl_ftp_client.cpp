#include "platform/curl/curl_ftp_client.hpp"

#include <curl/curl.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>

namespace zta {

namespace {

constexpr long connect_timeout_s = 20;
constexpr long response_timeout_s = 60;

void global_init() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string url_of(const std::string& server, const std::string& name) {
  return "ftp://" + server + "/" + name;
}

size_t discard(char*, size_t size, size_t n, void*) {
  return size * n;
}

size_t write_file(char* data, size_t size, size_t n, void* user) {
  return std::fwrite(data, size, n, static_cast<std::FILE*>(user)) * size;
}

int progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* cancelled = static_cast<const std::function<bool()>*>(user);
  return (*cancelled && (*cancelled)()) ? 1 : 0;
}

struct curl_easy {
  CURL* h = curl_easy_init();
  ~curl_easy() {
    if (h != nullptr) curl_easy_cleanup(h);
  }
};

void common_options(CURL* h, const std::string& url, const ftp_limits& limits, long total_s) {
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  // A data connection that stalls would otherwise never end.
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, limits.low_speed_bytes);
  curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, limits.low_speed_seconds);
  curl_easy_setopt(h, CURLOPT_TIMEOUT, total_s);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, connect_timeout_s);
  curl_easy_setopt(h, CURLOPT_FTP_RESPONSE_TIMEOUT, response_timeout_s);
  curl_easy_setopt(h, CURLOPT_TRANSFERTEXT, 0L);
}

}  // namespace

curl_ftp_client::curl_ftp_client(ftp_limits limits) : limits_(limits) {
  global_init();
}
curl_ftp_client::~curl_ftp_client() = default;

ftp_lookup curl_ftp_client::remote_stamp(const std::string& server, const std::string& remote_name,
                                         std::int32_t& stamp) {
  curl_easy c;
  if (c.h == nullptr) return ftp_lookup::failed;
  common_options(c.h, url_of(server, remote_name), limits_, limits_.lookup_seconds);
  curl_easy_setopt(c.h, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(c.h, CURLOPT_FILETIME, 1L);
  curl_easy_setopt(c.h, CURLOPT_WRITEFUNCTION, discard);
  curl_easy_setopt(c.h, CURLOPT_HEADERFUNCTION, discard);
  CURLcode rc = curl_easy_perform(c.h);
  if (rc == CURLE_REMOTE_FILE_NOT_FOUND || rc == CURLE_REMOTE_ACCESS_DENIED) {
    return ftp_lookup::missing;
  }
  if (rc != CURLE_OK) return ftp_lookup::failed;
  curl_off_t t = -1;
  if (curl_easy_getinfo(c.h, CURLINFO_FILETIME_T, &t) != CURLE_OK || t < 0) {
    return ftp_lookup::failed;
  }
  stamp = ftp_stamp_of_unix_time(static_cast<std::int64_t>(t));
  return ftp_lookup::found;
}

bool curl_ftp_client::download(const std::string& server, const std::string& remote_name,
                               const std::string& local_path,
                               const std::function<bool()>& cancelled) {
  const std::string part = local_path + ".part";
  std::FILE* f = std::fopen(part.c_str(), "wb");
  if (f == nullptr) return false;
  CURLcode rc = CURLE_FAILED_INIT;
  {
    curl_easy c;
    if (c.h != nullptr) {
      common_options(c.h, url_of(server, remote_name), limits_, limits_.download_seconds);
      curl_easy_setopt(c.h, CURLOPT_WRITEFUNCTION, write_file);
      curl_easy_setopt(c.h, CURLOPT_WRITEDATA, f);
      curl_easy_setopt(c.h, CURLOPT_NOPROGRESS, 0L);
      curl_easy_setopt(c.h, CURLOPT_XFERINFOFUNCTION, progress);
      curl_easy_setopt(c.h, CURLOPT_XFERINFODATA, &cancelled);
      rc = curl_easy_perform(c.h);
    }
  }
  bool ok = rc == CURLE_OK;
  if (std::fflush(f) != 0 || ::fsync(fileno(f)) != 0) ok = false;
  if (std::fclose(f) != 0) ok = false;
  if (ok && std::rename(part.c_str(), local_path.c_str()) == 0) return true;
  std::remove(part.c_str());
  return false;
}

}  // namespace zta
