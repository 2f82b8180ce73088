#pragma once
// The load job `dlexe`: decodes the audio of a package into clip files one block per step, from
// the sections of one package file (file and FTP methods) or from the piece files of a disk
// (disk method), joining sounds that arrive in pieces over several disks.
#include <array>
#include <cstdint>
#include <string>

#include "announcements/station.hpp"
#include "base/file_io.hpp"
#include "loading/section_decoder.hpp"

namespace zta {

enum class load_mode : std::uint8_t { idle = 0, disk_pieces = 1, file_sections = 2 };

// Why a load ended before the end of its data (what was loaded until then stays).
enum class load_stop : std::uint8_t {
  none,
  file_cut,          // the file ends inside a sound
  damaged_header,    // a sound's header holds no sample count
  no_free_clip,      // every clip number is taken
  clip_not_created,  // a clip file or a temporary piece file could not be created or opened
};
// One sentence for the user, e.g. "The file ends inside a sound."
const char* load_stop_text(load_stop s);
// What the user is told when a load ended early, followed by the reason.
inline constexpr char some_not_loaded_text[] = "Some announcements could not be loaded.";

// What a load did, for the tool and the tests.
struct load_tally {
  int attached = 0;   // sounds attached to an announcement
  int unmatched = 0;  // complete sounds that matched no announcement, or failed checksum
  int checksum_failures = 0;
  int partial_saved = 0;     // sounds waiting for a continuation on another disk
  int pieces_stored = 0;     // continuation pieces kept as temporary pieces
  int pieces_skipped = 0;    // pieces for no announcement still waiting for sound
  int write_failures = 0;    // sounds dropped because their clip could not be written whole
  bool ended_early = false;  // a file ended inside a section, a damaged header, or no free clip
  load_stop stopped = load_stop::none;  // why it ended early
};

class dlexe {
 public:
  explicit dlexe(station& st);
  ~dlexe();
  dlexe(const dlexe&) = delete;
  dlexe& operator=(const dlexe&) = delete;

  // File and FTP methods: `package` is positioned at its first audio section.
  void begin_sections(file_handle package);
  // Disk method: piece files "a.aud", "b.aud", ... in `drive_folder` (with a trailing '/').
  void begin_pieces(std::string drive_folder);
  // One step of at most one block; false once the load has ended.
  bool step();
  // Ends the load now (Cancel): open files are closed, what was stored stays.
  void cancel();

  load_mode mode() const { return mode_; }
  const load_tally& tally() const { return tally_; }

 private:
  struct section_header {
    std::int32_t id_stamp = 0;
    std::int32_t k = 0;
    std::int32_t piece_offset = 0;
    std::int32_t samples() const { return k < 0 ? -k : k; }
  };

  bool file_step();
  bool disk_step();
  bool open_next_piece();
  bool copy_block();
  bool decode_block(bool file_form);
  bool finish_sound();
  bool continue_from_temporary();
  void save_partial();
  void attach(bool prefer_without_clip);
  // Takes the clip being filled (write_failed_ belongs to that sound) or lets go of it.
  void hold_clip(int n);
  void let_go_clip();
  bool end(load_stop why);
  std::string temp_path(int slot) const;

  station& st_;
  load_mode mode_ = load_mode::idle;
  file_handle input_;
  file_handle output_;
  std::array<std::uint8_t, code_block_size> buffer_{};
  bool section_open_ = false;
  section_header section_;
  section_decoder_state decoder_;
  int clip_no_ = -1;
  bool decoding_ = false;
  bool write_failed_ = false;  // of the sound being filled
  char piece_letter_ = 'a';
  std::string drive_folder_;
  load_tally tally_;
};

// At exit: deletes the temporary piece files in use and releases the clips of partial sounds.
void release_pieces(station& st);

}  // namespace zta
