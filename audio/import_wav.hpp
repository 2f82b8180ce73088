#pragma once
// Importing a WAV file as a new user-made announcement: decode, reduce to one channel, convert to
// 22050 Hz, then the same processing as a recording. A job in fixed-size steps, so a progress
// dialog can keep Cancel live; the tool and the tests run it in a plain loop. The reading and
// conversion run ahead on a worker thread (wav_read_ahead); each step still takes one piece, and
// cancelling, failing or destroying the job stops the worker before it returns.
#include <memory>
#include <string>
#include <vector>

#include "announcements/station.hpp"
#include "audio/recproc.hpp"
#include "platform/api/pcm_decoder.hpp"

namespace zta {

enum class import_failure {
  none,
  not_wav,          // not RIFF/WAVE, or unreadable
  no_usable_chunk,  // no usable "fmt " or "data" chunk, or undecodable
  silent,           // never loud enough to start a clip
  list_full,
  no_free_clip,
  cancelled,
  clip_not_written,  // the clip file could not be created or written
  no_temp_file,      // the temporary "rec..." file could not be made in the current directory
};
const char* import_failure_text(import_failure f);

class import_wav_job {
 public:
  // Adds the announcement (named after the file) at once. Without decoders only 16-bit PCM
  // files can be imported. With a processor, the step that ends the decoding hands the samples to
  // it (a dialog that shows the processing and its warnings); without one the processing runs
  // here, one block per step.
  import_wav_job(station& st, const std::string& path, pcm_decoder_factory* decoders = nullptr,
                 recording_processor processor = {});
  ~import_wav_job();
  import_wav_job(const import_wav_job&) = delete;
  import_wav_job& operator=(const import_wav_job&) = delete;

  // One fixed-size step; false once the import has finished (successfully or not).
  bool step();
  // Ends the import now; the new announcement stays in the list without a clip.
  void cancel();
  // Index of the new announcement after a successful import, else -1.
  int result() const;
  import_failure failure() const;
  // Level warnings the processing raised, e.g. "warn: level very high".
  const std::vector<std::string>& warnings() const;

 private:
  struct impl;
  std::unique_ptr<impl> impl_;
};

// Runs a whole import; the index of the new announcement, or -1.
int import_wav(station& st, const std::string& path, pcm_decoder_factory* decoders = nullptr);

// The announcement name for a file: its base name without directory and extension.
std::string import_name(const std::string& path);

}  // namespace zta
