// zta import --data DIR FILE.wav...: imports each WAV file as a new announcement with its own clip,
// exactly as the Announcement Control dialog does, then saves the settings file.
#include <cstdio>

#include "announcements/settings_store.hpp"
#include "audio/import_wav.hpp"
#include "platform/sndfile/sndfile_pcm_decoder.hpp"
#include "tools/commands.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {

int cmd_import(const arg_list& args) {
  const auto opts = parse_options(args, {"--data"}, {});
  if (!opts) return 2;
  if (opts->positional.empty()) {
    std::fprintf(stderr, "zta: import needs at least one WAV file\n");
    return 2;
  }
  station st;
  if (const int status = open_data_folder(*opts, st); status != 0) return status;

  sndfile_pcm_decoder_factory decoders;
  int failed = 0;
  for (const std::string& file : opts->positional) {
    import_wav_job job(st, file, &decoders);
    while (job.step()) {
    }
    for (const std::string& w : job.warnings())
      std::fprintf(stderr, "%s: %s\n", file.c_str(), w.c_str());
    const int i = job.result();
    if (i < 0) {
      std::printf("%s: failed: %s\n", file.c_str(), import_failure_text(job.failure()));
      ++failed;
      continue;
    }
    const ann_blk& a = st.content.list[i];
    std::printf("%s: announcement %d, clip %d, %d samples\n", file.c_str(), i, a.clip, a.id_serial);
  }
  if (!save_settings(st)) {
    std::fprintf(stderr, "zta: cannot write %s%s\n", st.data_folder.c_str(), settings_file_name);
    return 1;
  }
  return failed == 0 ? 0 : 1;
}

}  // namespace zta::tool
