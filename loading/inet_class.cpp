#include "loading/inet_class.hpp"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zta {

// What the worker and the owner share. The worker holds it too, so a worker that outlives the
// owner's bounded wait still touches valid memory.
struct inet_class::shared {
  std::shared_ptr<ftp_client> client;
  std::mutex mutex;  // guards alive, notify and the act of posting
  std::condition_variable finished_cv;
  std::int32_t alive = alive_mark;
  ftp_post notify;
  bool worker_running = false;
  std::thread thread;

  bool is_alive_locked() const { return alive == alive_mark && notify != nullptr; }
  bool is_alive() {
    std::lock_guard lock(mutex);
    return is_alive_locked();
  }
  // Posts only while alive, so nothing arrives once destruction has begun.
  void post(ftp_status status, std::int32_t value, bool final_status) {
    std::lock_guard lock(mutex);
    if (!is_alive_locked()) return;
    notify(status, value);
    if (final_status) notify = nullptr;
  }
};

namespace {

struct request {
  std::string server;
  std::string remote_name;
  std::string local_path;
  std::int32_t stamp = 0;
};

std::string cut(std::string s, std::size_t n) {
  if (s.size() > n) s.resize(n);
  return s;
}

}  // namespace

inet_class::inet_class(std::shared_ptr<ftp_client> client, thread_starter start)
    : shared_(std::make_shared<shared>()), start_(std::move(start)) {
  shared_->client = std::move(client);
}

inet_class::~inet_class() {
  std::unique_lock lock(shared_->mutex);
  shared_->alive = 0;
  shared_->notify = nullptr;
  for (int i = 0; i < wait_polls && shared_->worker_running; ++i) {
    shared_->finished_cv.wait_for(lock, std::chrono::milliseconds(wait_poll_ms));
  }
  bool still_running = shared_->worker_running;
  std::thread t = std::move(shared_->thread);
  lock.unlock();
  if (!t.joinable()) return;
  if (still_running) {
    t.detach();  // it holds its own reference to the shared part and will post nothing
  } else {
    t.join();
  }
}

bool inet_class::is_alive() const {
  return shared_->is_alive();
}

bool inet_class::running() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->worker_running;
}

void inet_class::start_download(ftp_post notify, std::string server, std::string remote_name,
                                std::string local_path, std::int32_t stamp) {
  std::unique_lock lock(shared_->mutex);
  if (shared_->worker_running) {
    lock.unlock();
    if (notify) notify(ftp_status::failed, 0);
    return;
  }
  std::thread finished = std::move(shared_->thread);
  lock.unlock();
  if (finished.joinable()) finished.join();  // it has ended: only its handle remains
  lock.lock();

  request r{cut(std::move(server), 127), cut(std::move(remote_name), 127),
            cut(std::move(local_path), 255), stamp};
  shared_->notify = std::move(notify);
  shared_->worker_running = true;
  std::shared_ptr<shared> s = shared_;
  std::function<void()> body = [s, r = std::move(r)] {
    auto finish = [&](ftp_status status, std::int32_t value) {
      s->post(status, value, true);
      std::lock_guard lock(s->mutex);
      s->worker_running = false;
      s->finished_cv.notify_all();
    };
    if (!s->is_alive()) return finish(ftp_status::failed, 0);
    ftp_status status = ftp_status::failed;
    std::int32_t value = r.stamp;
    if (s->client) {
      s->post(ftp_status::connecting, 0, false);
      std::int32_t found = 0;
      switch (s->client->remote_stamp(r.server, r.remote_name, found)) {
        case ftp_lookup::missing:
          status = ftp_status::nothing_new;
          break;
        case ftp_lookup::failed:
          break;
        case ftp_lookup::found:
          if (found == r.stamp) {
            status = ftp_status::nothing_new;
          } else if (s->is_alive()) {
            s->post(ftp_status::downloading, 0, false);
            if (s->client->download(r.server, r.remote_name, r.local_path,
                                    [s] { return !s->is_alive(); })) {
              status = ftp_status::downloaded;
              value = found;
            }
          }
          break;
      }
    }
    finish(status, status == ftp_status::failed ? 0 : value);
  };
  try {
    shared_->thread = start_ ? start_(std::move(body)) : std::thread(std::move(body));
  } catch (const std::system_error&) {
    // The request's post function was handed over above: take it back to say it failed.
    ftp_post held = std::move(shared_->notify);
    shared_->notify = nullptr;
    shared_->worker_running = false;
    lock.unlock();
    if (held) held(ftp_status::failed, 0);
  }
}

}  // namespace zta
