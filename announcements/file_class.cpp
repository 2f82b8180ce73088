#include "announcements/file_class.hpp"

namespace zta {

bool ablklist::add_empty() {
  return push_back(ann_blk{});
}

bool ablklist::push_back(ann_blk record) {
  if (count() >= max_announcements) return false;
  records_.push_back(std::move(record));
  return true;
}

namespace {
// now + repeat when it stays below never, else never (the notice is then shown once).
std::int32_t next_after(std::int32_t now, std::int32_t repeat) {
  if (static_cast<long long>(now) < static_cast<long long>(moment_never) - repeat)
    return now + repeat;
  return moment_never;
}
}  // namespace

bool take_due_notice(updateinfo& notice, std::int32_t now) {
  if (!(notice.next_show < now)) return false;
  notice.next_show = notice.repeat > 86399 ? next_after(now, notice.repeat) : moment_never;
  return true;
}

void set_notice_from_package(updateinfo& notice, std::int32_t next_show, std::int32_t repeat,
                             std::string text, std::int32_t now) {
  if (next_show < now) next_show = repeat > 0 ? next_after(now, repeat) : moment_never;
  notice.next_show = next_show;
  notice.repeat = repeat;
  notice.text = std::move(text);
}

}  // namespace zta
