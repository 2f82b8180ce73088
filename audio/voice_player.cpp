#include "audio/voice_player.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

#include "announcements/clip_files.hpp"

namespace zta {

namespace {

// Only a regular file has samples to count: reading a directory gives none, whatever its size.
std::uint64_t file_size(const file_handle& f) {
  struct stat info {};
  if (f == nullptr || ::fstat(::fileno(f.get()), &info) != 0 || !S_ISREG(info.st_mode) ||
      info.st_size < 0)
    return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace

voice_player::probed_file voice_player::probe(const file_handle& f) {
  return probed_file{true, f != nullptr, file_size(f)};
}

bool voice_player::open_clip_file(int n) {
  if (count_only_ && valid_clip(n)) {
    probed_file& p = clips_probed_[static_cast<std::size_t>(n)];
    if (!p.known) p = probe(open_clip(st_, n));
    if (!p.opens) return false;
    clip_counted_ = true;
    clip_left_ = p.size;
  } else {
    clip_ = open_clip(st_, n);
    if (clip_ == nullptr) return false;
    clip_left_ = file_size(clip_);
  }
  clip_number_ = n;
  if (valid_clip(n)) st_.clip_use[static_cast<std::size_t>(n)] |= clip_held;
  return true;
}

bool voice_player::open_chime(int setting) {
  std::string path = chime_path(st_, setting);
  if (path.empty()) return false;
  if (count_only_) {
    probed_file& p = chimes_probed_[static_cast<std::size_t>(setting)];
    if (!p.known) p = probe(open_for_read(path));
    chime_counted_ = p.opens;
    chime_left_ = p.size;
    return p.opens;
  }
  chime_ = open_for_read(path);
  chime_left_ = file_size(chime_);
  return chime_ != nullptr;
}

bool voice_player::open_sound_file(const std::string& path, bool delete_after) {
  // A sound file comes from the shared folder: a pipe there must not hang the player.
  clip_ = open_regular_for_read(path);
  if (clip_ == nullptr) return false;
  clip_left_ = file_size(clip_);
  if (delete_after) temporary_path_ = path;
  return true;
}

// Reads up to `bytes` and keeps only whole samples, so what follows stays sample-aligned.
std::size_t voice_player::read_whole_samples(file_handle& f, std::uint64_t& left,
                                             std::uint8_t* dest, std::size_t bytes, bool copy) {
  std::size_t got = copy && f != nullptr
                        ? std::fread(dest, 1, bytes, f.get())
                        : static_cast<std::size_t>(std::min<std::uint64_t>(bytes, left));
  left -= std::min<std::uint64_t>(got, left);
  return got - got % 2;
}

void voice_player::read_block(std::span<std::uint8_t, block_bytes> dest, bool copy) {
  if (count_only_) copy = false;
  std::uint8_t* p = dest.data();
  std::size_t remaining = block_bytes;
  if (chime_open()) {
    std::size_t got = read_whole_samples(chime_, chime_left_, p, remaining, copy);
    if (got == remaining) return;
    chime_.reset();
    chime_counted_ = false;
    p += got;
    remaining -= got;
  }
  if (clip_open()) {
    std::size_t got = read_whole_samples(clip_, clip_left_, p, remaining, copy);
    if (got == remaining) return;
    close();
    p += got;
    remaining -= got;
  }
  if (copy) std::memset(p, 0, remaining);
}

void voice_player::close() {
  chime_.reset();
  clip_.reset();
  chime_counted_ = clip_counted_ = false;
  if (clip_number_ >= 0) {
    if (valid_clip(clip_number_)) {
      auto& use = st_.clip_use[static_cast<std::size_t>(clip_number_)];
      if ((use & clip_held) != 0) {
        use = static_cast<std::uint8_t>(use & ~clip_held);
        if ((use & clip_allocated) == 0) {
          delete_clip(st_, clip_number_);
          clips_probed_[static_cast<std::size_t>(clip_number_)] = probed_file{};
        }
      }
    }
    clip_number_ = -1;
  }
  if (!temporary_path_.empty()) {
    delete_file(temporary_path_);
    temporary_path_.clear();
  }
}

}  // namespace zta
