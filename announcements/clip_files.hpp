#pragma once
// Numbered clip files "afl%.3d.aud" and chimes "chimes%d.aud" in the data folder: raw signed
// 16-bit little-endian mono PCM at 22050 samples per second. Every operation fails without
// touching a file for a number outside 0..199.
#include <string>

#include "announcements/station.hpp"
#include "base/file_io.hpp"

namespace zta {

inline constexpr int sample_rate = 22050;

inline bool valid_clip(int n) {
  return n >= 0 && n < clip_count;
}

std::string clip_path(const station& st, int n);   // "" for an invalid number
std::string chime_path(const station& st, int n);  // "" unless 1..3
file_handle open_clip(const station& st, int n);
file_handle create_clip(const station& st, int n);
file_handle append_clip(const station& st, int n);
void delete_clip(const station& st, int n);

// Lowest number neither allocated, held nor being filled, or -1. Does not mark it.
int find_free_clip(const station& st);
// Marks the clip a job is writing, or clears the mark when the job lets go of it.
void set_clip_filling(station& st, int n, bool filling);
// Whether a job is writing a clip now: the clean-up and the save then wait for its end.
bool clips_being_filled(const station& st);
// Clears the allocated bit; deletes the file unless the player holds it. A number that is not
// allocated is left alone.
void release_clip(station& st, int n);
// Marks what the list and the recent partial sounds reference, forgets old partial sounds,
// deletes old temporary pieces, and deletes allocated clips nobody references any more. A clip
// being filled is left as it is.
void clip_cleanup(station& st);

// Turns a record into a fresh user-made announcement named `name`, releasing its clip.
void reset_as_user(station& st, ann_blk& a, std::string_view name);

}  // namespace zta
