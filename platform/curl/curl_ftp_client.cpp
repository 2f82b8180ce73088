#include "platform/curl/curl_ftp_client.hpp"

#include <curl/curl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
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
  char detail[CURL_ERROR_SIZE] = {};  // libcurl's own words for the last failure
  curl_easy() {
    if (h != nullptr) curl_easy_setopt(h, CURLOPT_ERRORBUFFER, detail);
  }
  ~curl_easy() {
    if (h != nullptr) curl_easy_cleanup(h);
  }
  curl_easy(const curl_easy&) = delete;
  curl_easy& operator=(const curl_easy&) = delete;

  // "URL: libcurl's text for rc (its detail)".
  std::string error_text(const std::string& url, CURLcode rc) const {
    std::string text = url + ": " + curl_easy_strerror(rc);
    if (detail[0] != '\0') text += std::string(" (") + detail + ")";
    return text;
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

std::string curl_ftp_client::last_error() const {
  const std::lock_guard<std::mutex> hold(error_lock_);
  return error_.text();
}

void curl_ftp_client::fail(const std::string& what) {
  const std::lock_guard<std::mutex> hold(error_lock_);
  error_.fail(what);
}

void curl_ftp_client::succeed() {
  const std::lock_guard<std::mutex> hold(error_lock_);
  error_.clear();
}

ftp_lookup curl_ftp_client::remote_stamp(const std::string& server, const std::string& remote_name,
                                         std::int32_t& stamp) {
  curl_easy c;
  const std::string url = url_of(server, remote_name);
  if (c.h == nullptr) {
    fail(url + ": libcurl cannot start a request");
    return ftp_lookup::failed;
  }
  common_options(c.h, url, limits_, limits_.lookup_seconds);
  curl_easy_setopt(c.h, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(c.h, CURLOPT_FILETIME, 1L);
  curl_easy_setopt(c.h, CURLOPT_WRITEFUNCTION, discard);
  curl_easy_setopt(c.h, CURLOPT_HEADERFUNCTION, discard);
  CURLcode rc = curl_easy_perform(c.h);
  if (rc == CURLE_REMOTE_FILE_NOT_FOUND || rc == CURLE_REMOTE_ACCESS_DENIED) {
    succeed();  // the server answered: a missing package is no failure of the connection
    return ftp_lookup::missing;
  }
  if (rc != CURLE_OK) {
    fail(c.error_text(url, rc));
    return ftp_lookup::failed;
  }
  curl_off_t t = -1;
  if (curl_easy_getinfo(c.h, CURLINFO_FILETIME_T, &t) != CURLE_OK || t < 0) {
    fail(url + ": the server does not tell the file's modification time");
    return ftp_lookup::failed;
  }
  succeed();
  stamp = ftp_stamp_of_unix_time(static_cast<std::int64_t>(t));
  return ftp_lookup::found;
}

bool curl_ftp_client::download(const std::string& server, const std::string& remote_name,
                               const std::string& local_path,
                               const std::function<bool()>& cancelled) {
  const std::string part = local_path + ".part";
  const std::string url = url_of(server, remote_name);
  std::FILE* f = std::fopen(part.c_str(), "wb");
  if (f == nullptr) {
    fail(part + ": " + std::strerror(errno));
    return false;
  }
  CURLcode rc = CURLE_FAILED_INIT;
  std::string why = url + ": libcurl cannot start a request";
  {
    curl_easy c;
    if (c.h != nullptr) {
      common_options(c.h, url, limits_, limits_.download_seconds);
      curl_easy_setopt(c.h, CURLOPT_WRITEFUNCTION, write_file);
      curl_easy_setopt(c.h, CURLOPT_WRITEDATA, f);
      curl_easy_setopt(c.h, CURLOPT_NOPROGRESS, 0L);
      curl_easy_setopt(c.h, CURLOPT_XFERINFOFUNCTION, progress);
      curl_easy_setopt(c.h, CURLOPT_XFERINFODATA, &cancelled);
      rc = curl_easy_perform(c.h);
      if (rc != CURLE_OK) why = c.error_text(url, rc);
    }
  }
  bool ok = rc == CURLE_OK;
  if (std::fflush(f) != 0 || ::fsync(fileno(f)) != 0) {
    if (ok) why = part + ": " + std::strerror(errno);
    ok = false;
  }
  if (std::fclose(f) != 0) {
    if (ok) why = part + ": " + std::strerror(errno);
    ok = false;
  }
  if (ok && std::rename(part.c_str(), local_path.c_str()) == 0) {
    succeed();
    return true;
  }
  if (ok) why = local_path + ": " + std::strerror(errno);
  fail(why);
  std::remove(part.c_str());
  return false;
}

}  // namespace zta
