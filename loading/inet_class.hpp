#pragma once
// The FTP download worker: asks the server for the package file's stamp and downloads it when it
// changed, on its own thread, reporting through a status post function.
//
// Statuses (the first argument of the post function; the second is the value): connecting (0),
// downloading (0), then exactly one final status: failed (0), downloaded to the local path (the
// new stamp), nothing new (the known stamp).
// The post function is called on the worker thread and must be safe to call from there (it
// typically queues the status to the main thread) and must not call back into the inet_class.
// Once destruction has begun nothing more is posted.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/api/ftp_client.hpp"

namespace zta {

// The values are those of the worker's status message.
enum class ftp_status : int {
  failed = 0,
  downloaded = 1,
  nothing_new = 2,
  connecting = 3,
  downloading = 4,
};

// Whether the status ends the request.
constexpr bool is_final(ftp_status s) {
  return s == ftp_status::failed || s == ftp_status::downloaded || s == ftp_status::nothing_new;
}

using ftp_post = std::function<void(ftp_status status, std::int32_t value)>;
// Starts the worker's thread running `body`; throws std::system_error when no thread can be made,
// as std::thread does. Empty: std::thread.
using thread_starter = std::function<std::thread(std::function<void()> body)>;

class inet_class {
 public:
  static constexpr std::int32_t alive_mark = 12344321;
  static constexpr int wait_polls = 400;  // destruction waits at most 400 x 500 ms
  static constexpr int wait_poll_ms = 500;

  explicit inet_class(std::shared_ptr<ftp_client> client, thread_starter start = {});
  // Waits for a running worker (at most 200 s); a worker still running after that is left to
  // end on its own, posting nothing.
  ~inet_class();
  inet_class(const inet_class&) = delete;
  inet_class& operator=(const inet_class&) = delete;

  // Starts a worker; when one is still running, or no thread can be started, posts failed at
  // once for this request. Texts are cut to 127, 127 and 255 bytes.
  void start_download(ftp_post notify, std::string server, std::string remote_name,
                      std::string local_path, std::int32_t stamp);
  // The object is valid and a worker has somewhere to post.
  bool is_alive() const;
  bool running() const;

 private:
  struct shared;
  std::shared_ptr<shared> shared_;
  thread_starter start_;
};

}  // namespace zta
