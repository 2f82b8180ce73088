#pragma once
// The FTP download worker: asks the server for the package file's stamp and downloads it when it
// changed, on its own thread, reporting through a status post function.
//
// Status values (the first argument of the post function; the second is the value):
//   3 connecting (0), 4 downloading (0), then exactly one final status:
//   0 failed (0), 1 downloaded to the local path (the new stamp), 2 nothing new (the known stamp).
// The post function is called on the worker thread and must be safe to call from there (it
// typically queues the status to the main thread) and must not call back into the inet_class.
// Once destruction has begun nothing more is posted.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/api/ftp_client.hpp"

namespace zta {

enum ftp_status : int {
  ftp_failed = 0,
  ftp_downloaded = 1,
  ftp_nothing_new = 2,
  ftp_connecting = 3,
  ftp_downloading = 4,
};

using ftp_post = std::function<void(int status, std::int32_t value)>;

class inet_class {
 public:
  static constexpr std::int32_t alive_mark = 12344321;
  static constexpr int wait_polls = 400;  // destruction waits at most 400 x 500 ms
  static constexpr int wait_poll_ms = 500;

  explicit inet_class(std::shared_ptr<ftp_client> client);
  // Waits for a running worker (at most 200 s); a worker still running after that is left to
  // end on its own, posting nothing.
  ~inet_class();
  inet_class(const inet_class&) = delete;
  inet_class& operator=(const inet_class&) = delete;

  // Starts a worker; when one is still running, posts status 0 at once for this request.
  // Texts are cut to 127, 127 and 255 bytes.
  void start_download(ftp_post notify, std::string server, std::string remote_name,
                      std::string local_path, std::int32_t stamp);
  // The object is valid and a worker has somewhere to post.
  bool is_alive() const;
  bool running() const;

 private:
  struct shared;
  std::shared_ptr<shared> shared_;
};

}  // namespace zta
