#include "loading/load_run.hpp"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "announcements/clip_files.hpp"
#include "base/byte_codec.hpp"

namespace zta {

std::string downloaded_package_name(const station& st) {
  char name[32];
  std::snprintf(name, sizeof name, "pa%i.vrx",
                static_cast<int>(st.content.owner.customer_number()));
  return name;
}

bool is_wav_path(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  std::string ext = path.substr(dot + 1);
  for (char& ch : ext) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return ext.find("WAV") != std::string::npos;
}

load_run::load_run(station& st, load_environment env) : st_(st), env_(std::move(env)), job_(st) {}
load_run::~load_run() {
  cancel();
}

void load_run::finish(bool success) {
  job_.cancel();
  state_ = success ? load_state::succeeded : load_state::failed;
}

void load_run::start() {
  error_ = package_error::none;
  state_ = load_state::running;
  const load_options& o = st_.load_opts;
  if (o.method == load_method::ftp) {
    if (env_.inet == nullptr || !env_.post) return finish(false);
    state_ = load_state::waiting_for_ftp;
    std::string name = downloaded_package_name(st_);
    env_.inet->start_download(env_.post, std::string(field_text(o.ftp_server)), name,
                              st_.data_folder + name, o.ftp_stamp);
    return;
  }
  if (o.method == load_method::file && env_.import_wav &&
      is_wav_path(std::string(field_text(o.file_path)))) {
    wav_ = env_.import_wav(st_, std::string(field_text(o.file_path)));
    wav_running_ = static_cast<bool>(wav_.step);
    if (wav_running_) return;
  }
  open_package();
}

void load_run::on_ftp_status(ftp_status status, std::int32_t value) {
  if (state_ != load_state::waiting_for_ftp) return;
  load_options& o = st_.load_opts;
  switch (status) {
    case ftp_status::connecting:
      status_ = status_connecting;
      break;
    case ftp_status::downloading:
      status_ = status_downloading;
      break;
    case ftp_status::failed:
      o.last_attempt = st_.clock.now;
      finish(false);
      break;
    case ftp_status::nothing_new:
      o.last_success = st_.clock.now;
      o.last_attempt = st_.clock.now;
      finish(false);
      break;
    case ftp_status::downloaded:
      // Kept only once the package proves readable: a damaged download is fetched again.
      downloaded_stamp_ = value;
      o.last_success = st_.clock.now;
      o.last_attempt = st_.clock.now;
      state_ = load_state::running;
      open_package();
      break;
    default:
      break;
  }
}

void load_run::open_package() {
  const load_options& o = st_.load_opts;
  const std::string downloaded = st_.data_folder + downloaded_package_name(st_);
  std::string drive_folder = o.drive == 1 ? env_.drive_b : env_.drive_a;
  if (!drive_folder.empty() && drive_folder.back() != '/') drive_folder += '/';
  file_handle f;
  if (o.method == load_method::disk) {
    f = open_for_read(drive_folder + "data.npd");
  } else if (o.method == load_method::file) {
    f = open_for_read(std::string(field_text(o.file_path)));
    if (!f) f = open_for_read(downloaded);
  } else {
    f = open_for_read(downloaded);
  }
  if (!f) return finish(false);
  error_ = read_package_header(st_, f.get());
  if (error_ != package_error::none) return finish(false);
  if (downloaded_stamp_) st_.load_opts.ftp_stamp = *downloaded_stamp_;
  clip_cleanup(st_);
  status_ = status_unpacking;
  if (o.method == load_method::disk) {
    f.reset();
    job_.begin_pieces(drive_folder);
  } else {
    job_.begin_sections(std::move(f));
  }
}

bool load_run::step() {
  switch (state_) {
    case load_state::waiting_for_ftp:
      return true;
    case load_state::succeeded:
    case load_state::failed:
      return false;
    case load_state::running:
      break;
  }
  if (wav_running_) {
    if (wav_.step()) return true;
    wav_running_ = false;
    if (wav_.succeeded && wav_.succeeded()) {
      finish(true);
      return false;
    }
    open_package();  // not a usable WAV: try it as a package
    return state_ == load_state::running;
  }
  if (job_.step()) return true;
  finish(true);
  return false;
}

void load_run::cancel() {
  if (wav_running_ && wav_.cancel) wav_.cancel();
  wav_running_ = false;
  if (state_ == load_state::running || state_ == load_state::waiting_for_ftp) finish(false);
}

}  // namespace zta
