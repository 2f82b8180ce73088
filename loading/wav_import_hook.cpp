#include <memory>

#include "audio/import_wav.hpp"
#include "loading/load_run.hpp"

namespace zta {

wav_importer default_wav_importer(pcm_decoder_factory* decoders, recording_processor processor) {
  return [decoders, processor = std::move(processor)](station& st, const std::string& path) {
    auto job = std::make_shared<import_wav_job>(st, path, decoders, processor);
    return wav_import_steps{[job] { return job->step(); }, [job] { return job->result() >= 0; },
                            [job] { job->cancel(); }};
  };
}

}  // namespace zta
