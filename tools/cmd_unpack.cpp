// zta unpack --data DIR FILE | --data DIR --disk MOUNTDIR [--disk MOUNTDIR...]: runs the load job
// of the file method, or of the disk method disk after disk in the order given, into the data
// folder, then saves its settings. Exit status 3: it saved what it loaded, but the load ended
// early (the reason is printed).
#include <cstdio>

#include "announcements/settings_store.hpp"
#include "loading/load_method_scope.hpp"
#include "loading/load_run.hpp"
#include "platform/sndfile/sndfile_pcm_decoder.hpp"
#include "tools/commands.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {

namespace {

// Runs one load; prints its outcome. False when the package was refused or could not be read;
// `stopped` is set when it ended early (what it loaded stays).
bool run_one(station& st, const load_environment& env, const std::string& what, bool& stopped) {
  load_run r(st, env);
  r.start();
  while (r.step()) {
  }
  if (r.error() != package_error::none) {
    std::fprintf(stderr, "%s: %s\n", package_error_caption, package_error_text(r.error()));
    return false;
  }
  if (r.state() != load_state::succeeded) {
    std::fprintf(stderr, "zta: cannot load %s\n", what.c_str());
    return false;
  }
  const load_tally& t = r.tally();
  std::printf("%s: %d sounds attached", what.c_str(), t.attached);
  if (t.checksum_failures != 0) std::printf(", %d checksum failures", t.checksum_failures);
  if (t.unmatched - t.checksum_failures > 0) {
    std::printf(", %d for no announcement", t.unmatched - t.checksum_failures);
  }
  if (t.partial_saved != 0) std::printf(", %d waiting for their next disk", t.partial_saved);
  if (t.pieces_stored != 0) std::printf(", %d pieces kept for an earlier disk", t.pieces_stored);
  if (t.write_failures != 0) std::printf(", %d not written whole", t.write_failures);
  std::printf("\n");
  if (r.stopped() != load_stop::none) {
    std::fprintf(stderr, "zta: %s: %s %s\n", what.c_str(), some_not_loaded_text,
                 load_stop_text(r.stopped()));
    stopped = true;
  }
  return true;
}

}  // namespace

int cmd_unpack(const arg_list& args) {
  const auto opts = parse_options(args, {"--data", "--disk"}, {});
  if (!opts) return 2;
  std::vector<std::string> disks;
  for (const auto& [name, value] : opts->values) {
    if (name == "--disk") disks.push_back(value);
  }
  if (disks.empty() == (opts->positional.size() != 1) || opts->positional.size() > 1) {
    std::fprintf(stderr, "usage: zta unpack --data DIR FILE | --data DIR --disk MOUNTDIR...\n");
    return 2;
  }
  station st;
  if (const int status = open_data_folder(*opts, st); status != 0) return status;
  sndfile_pcm_decoder_factory decoders;
  load_environment env;
  env.import_wav = default_wav_importer(&decoders);
  bool ok = true;
  bool stopped = false;
  if (disks.empty()) {
    const std::string& file = opts->positional[0];
    if (!file_exists(file)) {
      std::fprintf(stderr, "zta: cannot open %s\n", file.c_str());
      return 1;
    }
    if (file.size() >= path_field_size) {
      std::fprintf(stderr, "zta: path %s is longer than %zu bytes\n", file.c_str(),
                   path_field_size - 1);
      return 1;
    }
    const load_method_scope scope(st.load_opts, file);
    if (!run_one(st, env, file, stopped)) return 1;  // refused: nothing changed, nothing saved
  } else {
    const load_method_scope scope(st.load_opts, load_method::disk);
    for (const std::string& d : disks) {
      env.drive_a = d.empty() || d.back() == '/' ? d : d + "/";
      if (!run_one(st, env, d, stopped)) {
        ok = false;
        break;
      }
    }
  }
  bool incomplete = false;
  for (const auto& p : st.pieces.partial) incomplete = incomplete || p.clip >= 0;
  for (const auto& t : st.pieces.temporary)
    incomplete = incomplete || (t.piece_offset != 0 && t.stored_at != 0);
  if (incomplete)
    std::fprintf(stderr,
                 "warn: some sounds still wait for pieces on other disks; they are dropped\n");
  release_pieces(st);
  if (!save_settings(st)) {
    std::fprintf(stderr, "zta: cannot write %s%s\n", st.data_folder.c_str(), settings_file_name);
    return 1;
  }
  if (!ok) return 1;
  return stopped ? 3 : 0;  // 3: saved, but some announcements could not be loaded
}

}  // namespace zta::tool
