#include "announcements/list_ops.hpp"

#include "announcements/clip_files.hpp"

namespace zta {

int new_user_announcement(station& st, std::string_view name) {
  ablklist& list = st.content.list;
  int index = -1;
  for (int i = 0; i < list.count(); ++i) {
    if (list[i].clip == -1) {
      index = i;
      break;
    }
  }
  if (index < 0) {
    if (!list.add_empty()) return -1;
    index = list.count() - 1;
  }
  reset_as_user(st, list[index], name);
  return index;
}

void remove_at(station& st, int i) {
  ablklist& list = st.content.list;
  if (i < 0 || i >= list.count()) return;
  release_clip(st, list[i].clip);
  list.erase(i);
}

void merge_package_list(station& st, std::vector<ann_blk> incoming) {
  std::vector<ann_blk> current = st.content.list.take_all();
  if (incoming.size() > static_cast<std::size_t>(max_announcements))
    incoming.resize(max_announcements);
  // Sound already present is reused for identities seen before.
  for (ann_blk& old : current) {
    if (old.user_made != 0) continue;
    for (ann_blk& fresh : incoming) {
      if (fresh.id_stamp == old.id_stamp && fresh.id_serial == old.id_serial) {
        fresh.clip = old.clip;
        old.clip = -1;
      }
    }
  }
  ablklist& list = st.content.list;
  for (ann_blk& fresh : incoming) list.push_back(std::move(fresh));
  std::vector<ann_blk> left;
  for (ann_blk& old : current) {
    if (old.user_made != 0 && list.push_back(old)) continue;
    left.push_back(std::move(old));
  }
  for (ann_blk& gone : left) release_clip(st, gone.clip);
}

}  // namespace zta
