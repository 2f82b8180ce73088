#include "announcements/clip_files.hpp"

#include <cstdio>

namespace zta {

std::string clip_path(const station& st, int n) {
  if (!valid_clip(n)) return {};
  char name[16];
  std::snprintf(name, sizeof name, "afl%.3d.aud", n);
  return st.data_folder + name;
}

std::string chime_path(const station& st, int n) {
  if (n < 1 || n > 3) return {};
  char name[16];
  std::snprintf(name, sizeof name, "chimes%d.aud", n);
  return st.data_folder + name;
}

file_handle open_clip(const station& st, int n) {
  return valid_clip(n) ? open_for_read(clip_path(st, n)) : file_handle{};
}

file_handle create_clip(const station& st, int n) {
  return valid_clip(n) ? create_for_write(clip_path(st, n)) : file_handle{};
}

file_handle append_clip(const station& st, int n) {
  return valid_clip(n) ? open_for_append(clip_path(st, n)) : file_handle{};
}

void delete_clip(const station& st, int n) {
  if (valid_clip(n)) delete_file(clip_path(st, n));
}

int find_free_clip(const station& st) {
  for (int n = 0; n < clip_count; ++n) {
    if ((st.clip_use[n] & (clip_allocated | clip_held | clip_filling)) == 0) return n;
  }
  return -1;
}

void set_clip_filling(station& st, int n, bool filling) {
  if (!valid_clip(n)) return;
  auto& bits = st.clip_use[static_cast<std::size_t>(n)];
  bits = static_cast<std::uint8_t>(filling ? bits | clip_filling : bits & ~clip_filling);
}

bool clips_being_filled(const station& st) {
  for (std::uint8_t bits : st.clip_use) {
    if ((bits & clip_filling) != 0) return true;
  }
  return false;
}

void release_clip(station& st, int n) {
  if (!valid_clip(n) || (st.clip_use[n] & clip_allocated) == 0) return;
  st.clip_use[n] &= static_cast<std::uint8_t>(~clip_allocated);
  if ((st.clip_use[n] & clip_held) == 0) delete_clip(st, n);
}

void clip_cleanup(station& st) {
  for (auto& bits : st.clip_use) bits &= static_cast<std::uint8_t>(~clip_marked);
  for (const ann_blk& a : st.content.list) {
    if (valid_clip(a.clip)) st.clip_use[a.clip] |= clip_marked;
  }
  const long long week_ago = static_cast<long long>(st.clock.now) - piece_max_age;
  for (partial_sound& p : st.pieces.partial) {
    if (p.clip < 0) continue;
    if (p.stored_at > week_ago && valid_clip(p.clip)) {
      st.clip_use[p.clip] |= clip_marked;
    } else {
      p.clip = -1;
    }
  }
  for (int slot = 0; slot < piece_slots; ++slot) {
    temp_piece& t = st.pieces.temporary[slot];
    if (t.piece_offset != 0 && t.stored_at < week_ago) {
      delete_file(st.data_folder + temp_piece_name(slot));
      t = temp_piece{};
    }
  }
  for (int n = 0; n < clip_count; ++n) {
    std::uint8_t& bits = st.clip_use[n];
    if ((bits & clip_marked) != 0) {
      bits |= clip_allocated;
    } else if ((bits & clip_filling) == 0) {
      if ((bits & clip_allocated) != 0 && (bits & clip_held) == 0) delete_clip(st, n);
      bits &= static_cast<std::uint8_t>(~clip_allocated);
    }
  }
}

void reset_as_user(station& st, ann_blk& a, std::string_view name) {
  const int old_clip = a.clip;
  // A package record's defaults, turned into a user-made one in sequence mode.
  ann_blk fresh = package_record_defaults();
  fresh.set_name(name);
  fresh.id_stamp = st.clock.now;
  fresh.autoplay = -1;
  fresh.user_made = 1;
  a = std::move(fresh);
  release_clip(st, old_clip);
}

}  // namespace zta
