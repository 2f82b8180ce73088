#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "announcements/ann_blk.hpp"
#include "announcements/settings_block.hpp"

namespace zta {

inline constexpr int max_announcements = 127;

// The ordered list of announcements: display order, and the order of sequence play.
class ablklist {
 public:
  int count() const { return static_cast<int>(records_.size()); }
  bool empty() const { return records_.empty(); }
  ann_blk& operator[](int i) { return records_[static_cast<std::size_t>(i)]; }
  const ann_blk& operator[](int i) const { return records_[static_cast<std::size_t>(i)]; }
  auto begin() { return records_.begin(); }
  auto end() { return records_.end(); }
  auto begin() const { return records_.begin(); }
  auto end() const { return records_.end(); }

  // Appends an empty record (no clip, no lists); false when the list is full.
  bool add_empty();
  // Appends a filled record; false when the list is full.
  bool push_back(ann_blk record);
  // Destroys all records (their clips are not released).
  void clear() { records_.clear(); }
  // Takes the records out, leaving the list empty.
  std::vector<ann_blk> take_all() { return std::move(records_); }
  void erase(int i) { records_.erase(records_.begin() + i); }

 private:
  std::vector<ann_blk> records_;
};

// A timed notice that arrives with an update.
struct updateinfo {
  std::int32_t next_show = moment_never;  // never = no notice pending
  std::int32_t repeat = 0;
  std::string text;  // empty = none
  bool operator==(const updateinfo&) const = default;
};

// The announcement content of the installation.
struct file_class {
  owner_block owner;
  ablklist list;
  updateinfo notice;
};

// True when the notice's next show lies before `now`; it has then been moved on: to now + repeat
// when repeat is at least a day and the sum stays below never, otherwise to never (shown once).
bool take_due_notice(updateinfo& notice, std::int32_t now);
// A notice delivered in a package; a next show already in the past becomes now + repeat when
// repeat > 0 (never when that would pass never), else never.
void set_notice_from_package(updateinfo& notice, std::int32_t next_show, std::int32_t repeat,
                             std::string text, std::int32_t now);

}  // namespace zta
