#pragma once
// The player's stream: the chime clip, then the announcement's clip (or a remote sound file),
// read block by block into device buffers.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "announcements/station.hpp"
#include "base/file_io.hpp"

namespace zta {

inline constexpr std::size_t block_samples = 8192;
inline constexpr std::size_t block_bytes = block_samples * 2;

class voice_player {
 public:
  explicit voice_player(station& st) : st_(st) {}
  ~voice_player() { close(); }
  voice_player(const voice_player&) = delete;
  voice_player& operator=(const voice_player&) = delete;

  // Opens clip `n` for playing and marks it held; false when it does not open.
  bool open_clip_file(int n);
  // Opens "chimes<setting>.aud" of the data folder.
  bool open_chime(int setting);
  // Opens a sound file by path; when `delete_after` the file is removed once the stream closes.
  bool open_sound_file(const std::string& path, bool delete_after);

  // Fills exactly one block: the rest of the chime, then the clip, then silence. Always whole
  // samples: an odd trailing byte of a file is dropped. With `copy` false the files only move
  // on by what would have been read and `dest` is left as it is (a device that ignores samples).
  void read_block(std::span<std::uint8_t, block_bytes> dest, bool copy = true);

  // For a stream that is only counted (a device that ignores the samples) over clip and chime
  // files that do not change meanwhile (the schedule preview): each file is opened once, for
  // whether it opens and its size, and later opens take both from then on without a handle;
  // read_block then never copies. Off by default: the program's files change under it.
  void set_count_only(bool on) { count_only_ = on; }

  // Closes both files; lets go of the clip (deleting its file when no announcement owns it any
  // more) and deletes a played sound file.
  void close();

  bool clip_open() const { return clip_ != nullptr || clip_counted_; }
  bool chime_open() const { return chime_ != nullptr || chime_counted_; }
  int clip_number() const { return clip_number_; }

 private:
  // What opening a file once told: whether it opened, and its size.
  struct probed_file {
    bool known = false;
    bool opens = false;
    std::uint64_t size = 0;
  };
  static probed_file probe(const file_handle& f);

  std::size_t read_whole_samples(file_handle& f, std::uint64_t& left, std::uint8_t* dest,
                                 std::size_t bytes, bool copy);

  station& st_;
  file_handle clip_;
  std::uint64_t clip_left_ = 0;  // bytes from the read position to the end at open
  int clip_number_ = -1;
  file_handle chime_;
  std::uint64_t chime_left_ = 0;
  std::string temporary_path_;
  bool count_only_ = false;
  bool clip_counted_ = false;  // open for counting, without a handle
  bool chime_counted_ = false;
  std::array<probed_file, clip_count> clips_probed_{};
  std::array<probed_file, 4> chimes_probed_{};  // by chime setting 1..3
};

}  // namespace zta
