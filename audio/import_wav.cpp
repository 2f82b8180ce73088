#include "audio/import_wav.hpp"

#include <utility>

#include "announcements/clip_files.hpp"
#include "announcements/list_ops.hpp"
#include "audio/acmwav.hpp"
#include "audio/read_ahead.hpp"
#include "audio/recproc.hpp"
#include "audio/rectmp.hpp"

namespace zta {

const char* import_failure_text(import_failure f) {
  switch (f) {
    case import_failure::none:
      return "imported";
    case import_failure::not_wav:
      return "not a WAV file";
    case import_failure::no_usable_chunk:
      return "no usable \"fmt \" or \"data\" chunk";
    case import_failure::silent:
      return "silent throughout";
    case import_failure::list_full:
      return "the announcement list is full";
    case import_failure::no_free_clip:
      return "no free clip number";
    case import_failure::cancelled:
      return "cancelled";
    case import_failure::clip_not_written:
      return "the clip file could not be written";
    case import_failure::no_temp_file:
      return "cannot create a temporary file in the current directory";
  }
  return "failed";
}

std::string import_name(const std::string& path) {
  const auto slash = path.find_last_of('/');
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto dot = base.find_last_of('.');
  if (dot != std::string::npos && dot > 0) base.resize(dot);
  return base;
}

namespace {

import_failure from_wav(wav_error e) {
  return e == wav_error::no_file || e == wav_error::not_riff ? import_failure::not_wav
                                                             : import_failure::no_usable_chunk;
}

import_failure from_recproc(recproc_failure f) {
  switch (f) {
    case recproc_failure::none:
      return import_failure::none;
    case recproc_failure::silent:
      return import_failure::silent;
    case recproc_failure::no_free_clip:
      return import_failure::no_free_clip;
    case recproc_failure::clip_not_created:
    case recproc_failure::write_failed:
      return import_failure::clip_not_written;
    case recproc_failure::cancelled:
      return import_failure::cancelled;
  }
  return import_failure::silent;
}

}  // namespace

struct import_wav_job::impl {
  impl(station& s, pcm_decoder_factory* d, recording_processor p)
      : st(s), wav(d), processor(std::move(p)) {}

  station& st;
  int index = -1;
  int result = -1;
  bool done = false;
  import_failure failure = import_failure::none;
  std::vector<std::string> warnings;
  std::unique_ptr<rectmp> tmp;
  acmwav wav;
  wav_read_ahead ahead;  // runs wav on a worker thread; stopped before wav is closed
  std::unique_ptr<recproc> proc;
  recording_processor processor;
  std::int16_t clip = -1;
  std::int32_t id_serial = 0;

  void end(import_failure f) {
    failure = f;
    done = true;
    proc.reset();  // releases an unfinished clip
    ahead.stop();
    wav.close();
    tmp.reset();  // deletes the temporary file
  }

  void start_processing() {
    ahead.stop();
    wav.close();
    if (processor) {
      const recproc_failure f = processor(*tmp, clip, id_serial);
      if (f == recproc_failure::none)
        attach();
      else
        end(from_recproc(f));
      return;
    }
    proc = std::make_unique<recproc>(st, tmp.get(), &clip, &id_serial);
    const bool ok = proc->start();
    for (auto w : proc->warnings()) warnings.emplace_back(level_warning_tag(w));
    if (!ok) end(from_recproc(proc->failure()));
  }

  void finish_processing() {
    if (proc->succeeded())
      attach();
    else
      end(from_recproc(proc->failure()));
  }

  // The new clip goes to the announcement added at the start, if a nested event loop has not
  // removed it meanwhile; otherwise the clip is given back.
  void attach() {
    if (index >= 0 && index < st.content.list.count()) {
      auto& a = st.content.list[index];
      a.clip = clip;
      a.id_serial = id_serial;
      result = index;
      end(import_failure::none);
    } else {
      release_clip(st, clip);
      end(import_failure::cancelled);
    }
  }
};

import_wav_job::import_wav_job(station& st, const std::string& path, pcm_decoder_factory* decoders,
                               recording_processor processor)
    : impl_(std::make_unique<impl>(st, decoders, std::move(processor))) {
  impl_->index = new_user_announcement(st, import_name(path));
  if (impl_->index < 0) {
    impl_->end(import_failure::list_full);
    return;
  }
  impl_->tmp = std::make_unique<rectmp>();
  // Without its temporary file the processing would only see silence; say why instead.
  if (!impl_->tmp->is_open()) {
    impl_->end(import_failure::no_temp_file);
    return;
  }
  // A file that cannot be read yields no audio; no clip is taken for it.
  if (!impl_->ahead.open(impl_->wav, path)) impl_->end(from_wav(impl_->wav.error()));
}

import_wav_job::~import_wav_job() = default;

bool import_wav_job::step() {
  auto& d = *impl_;
  if (d.done) return false;
  if (!d.proc) {
    if (!d.ahead.step(*d.tmp)) d.start_processing();
    return !d.done;
  }
  if (!d.proc->step()) d.finish_processing();
  return !d.done;
}

void import_wav_job::cancel() {
  if (!impl_->done) impl_->end(import_failure::cancelled);
}

int import_wav_job::result() const {
  return impl_->result;
}
import_failure import_wav_job::failure() const {
  return impl_->failure;
}
const std::vector<std::string>& import_wav_job::warnings() const {
  return impl_->warnings;
}

int import_wav(station& st, const std::string& path, pcm_decoder_factory* decoders) {
  import_wav_job job(st, path, decoders);
  while (job.step()) {
  }
  return job.result();
}

}  // namespace zta
