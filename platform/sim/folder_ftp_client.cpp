#include "platform/sim/folder_ftp_client.hpp"

#include <sys/stat.h>

#include <cstdio>
#include <vector>

namespace zta {

folder_ftp_client::folder_ftp_client(std::string folder) : folder_(std::move(folder)) {
  if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
}

ftp_lookup folder_ftp_client::remote_stamp(const std::string&, const std::string& remote_name,
                                           std::int32_t& stamp) {
  struct stat info {};
  if (::stat(folder_.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return ftp_lookup::failed;
  if (remote_name.find('/') != std::string::npos) return ftp_lookup::missing;
  if (::stat((folder_ + remote_name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return ftp_lookup::missing;
  }
  stamp = ftp_stamp_of_unix_time(static_cast<std::int64_t>(info.st_mtime));
  return ftp_lookup::found;
}

bool folder_ftp_client::download(const std::string&, const std::string& remote_name,
                                 const std::string& local_path,
                                 const std::function<bool()>& cancelled) {
  if (remote_name.find('/') != std::string::npos) return false;
  std::FILE* in = std::fopen((folder_ + remote_name).c_str(), "rb");
  if (in == nullptr) return false;
  const std::string part = local_path + ".part";
  std::FILE* out = std::fopen(part.c_str(), "wb");
  bool ok = out != nullptr;
  std::vector<char> buf(65536);
  while (ok) {
    std::size_t n = std::fread(buf.data(), 1, buf.size(), in);
    if (n != 0 && std::fwrite(buf.data(), 1, n, out) != n) ok = false;
    if (n < buf.size()) break;
    if (cancelled && cancelled()) ok = false;
  }
  if (std::ferror(in) != 0) ok = false;
  std::fclose(in);
  if (out != nullptr && std::fclose(out) != 0) ok = false;
  if (ok && std::rename(part.c_str(), local_path.c_str()) == 0) return true;
  std::remove(part.c_str());
  return false;
}

}  // namespace zta
