#pragma once
// Operations on the announcement list that touch the clip bookkeeping.
#include <string_view>
#include <vector>

#include "announcements/station.hpp"

namespace zta {

// Index of the record that receives a new recording or import: the first placeholder (clip -1)
// or a new record at the end; -1 when the list is full. The record is reset as user-made.
int new_user_announcement(station& st, std::string_view name);
// Removes record i (releasing its clip) when i is inside the list.
void remove_at(station& st, int i);
// Replaces the package-delivered announcements by `incoming` (already parsed, package order):
// identities seen before keep their clip, user-made records follow while there is room, and
// whatever is left is destroyed with its clip released.
void merge_package_list(station& st, std::vector<ann_blk> incoming);

}  // namespace zta
