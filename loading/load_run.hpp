#pragma once
// The start and the course of one load, as the progress dialog runs it: the FTP download (when
// that is the method), a WAV import (file method with a WAV path), the package header, then the
// load job's steps. A dialog shows status_text() and calls step() on every idle turn; the tool
// and the tests run the same object in a loop.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "announcements/station.hpp"
#include "audio/recproc.hpp"
#include "loading/inet_class.hpp"
#include "loading/load_job.hpp"
#include "loading/package_reader.hpp"

namespace zta {

inline constexpr char status_unpacking[] = "Unpacking Files...";
inline constexpr char status_connecting[] = "Connecting...";
inline constexpr char status_downloading[] = "Downloading...";

// A WAV import run in steps: step() is false once it has ended; succeeded() tells the outcome.
struct wav_import_steps {
  std::function<bool()> step;
  std::function<bool()> succeeded;
  std::function<void()> cancel;
};
using wav_importer = std::function<wav_import_steps(station&, const std::string& path)>;
class pcm_decoder_factory;
// The import of audio/import_wav.hpp (without decoders only 16-bit PCM files are read). With a
// processor the processing runs through it, as a recording's does (a dialog shows it with its
// level warnings); without one it runs in the import's own steps.
wav_importer default_wav_importer(pcm_decoder_factory* decoders = nullptr,
                                  recording_processor processor = {});

struct load_environment {
  std::string drive_a = "/media/floppy0/";  // mount points of the two drives (trailing '/')
  std::string drive_b = "/media/floppy1/";
  inet_class* inet = nullptr;  // FTP method
  ftp_post post;               // how the worker's statuses reach on_ftp_status (thread-safe)
  wav_importer import_wav;     // file method with a WAV path; none: read it as a package
};

enum class load_state { running, waiting_for_ftp, succeeded, failed };

// The downloaded package's name on the server and in the data folder: "pa%i.vrx".
std::string downloaded_package_name(const station& st);
// True when the extension of `path`, in capitals, contains "WAV".
bool is_wav_path(const std::string& path);

class load_run {
 public:
  load_run(station& st, load_environment env);
  ~load_run();
  load_run(const load_run&) = delete;
  load_run& operator=(const load_run&) = delete;

  // Starts by the stored load method.
  void start();
  // A status of the FTP worker, on the main thread. Statuses after the load has ended are
  // ignored; a dialog that outlives its load_run must drop the ones still queued.
  void on_ftp_status(ftp_status status, std::int32_t value);
  // One idle step; false once the load has ended (see state()).
  bool step();
  void cancel();

  load_state state() const { return state_; }
  const std::string& status_text() const { return status_; }
  // The "File Error" to show when the package was refused, else none.
  package_error error() const { return error_; }
  const load_tally& tally() const { return job_.tally(); }
  // Why the load ended before the end of its data (what was loaded stays), or none.
  load_stop stopped() const { return job_.tally().stopped; }

 private:
  void open_package();
  void finish(bool success);

  station& st_;
  load_environment env_;
  load_state state_ = load_state::failed;
  std::string status_;
  package_error error_ = package_error::none;
  dlexe job_;
  std::optional<std::int32_t> downloaded_stamp_;  // of a download not yet read
  wav_import_steps wav_;
  bool wav_running_ = false;
};

}  // namespace zta
