// zta list --data DIR [--json]: every announcement of the settings file.
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "announcements/date_time_text.hpp"
#include "announcements/text_encoding.hpp"
#include "tools/commands.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {
namespace {

nlohmann::ordered_json announcement_json(int index, const ann_blk& a) {
  return {
      {"index", index},
      {"name", display_text(a.name_text())},
      {"id_stamp", a.id_stamp},
      {"id_serial", a.id_serial},
      {"commence", a.commence},
      {"expiry", a.expiry},
      {"day_from", a.day_from},
      {"day_to", a.day_to},
      {"weekdays", a.weekdays},
      {"chimes", a.chimes},
      {"confirm", a.confirm},
      {"manual", a.manual},
      {"autoplay", a.autoplay},
      {"user_made", a.user_made},
      {"clip", a.clip},
      {"fixed_times", a.fixed_times},
      {"script", display_text(a.script)},
  };
}

std::string weekday_text(std::uint8_t mask) {
  static const char letters[] = "SMTWTFS";
  std::string s;
  for (int d = 0; d < 7; ++d) s += (mask & (1 << d)) != 0 ? letters[d] : '-';
  return s;
}

std::string moment_text(std::int32_t m, date_order order) {
  std::string s = date_text(m, order);
  const std::string t = time_text(m);
  if (!t.empty()) s += " " + t;
  return s;
}

std::string schedule_text(const ann_blk& a) {
  std::string s;
  if (a.autoplay > 0) s = "every " + std::to_string(a.autoplay) + " min";
  if (a.autoplay < 0) s = "sequence";
  for (std::int32_t t : a.fixed_times) s += (s.empty() ? "at " : ", ") + day_time_text(t);
  return s.empty() ? "-" : s;
}

}  // namespace

int cmd_list(const arg_list& args) {
  const auto opts = parse_options(args, {"--data"}, {"--json"});
  if (!opts) return 2;
  station st;
  if (const int status = open_data_folder(*opts, st); status != 0) return status;
  const ablklist& list = st.content.list;
  if (opts->flag("--json")) {
    nlohmann::ordered_json out;
    out["announcements"] = nlohmann::ordered_json::array();
    for (int i = 0; i < list.count(); ++i)
      out["announcements"].push_back(announcement_json(i, list[i]));
    const updateinfo& n = st.content.notice;
    out["notice"] = {
        {"next_show", n.next_show}, {"repeat", n.repeat}, {"text", display_text(n.text)}};
    std::printf("%s\n", out.dump(2).c_str());
    return 0;
  }
  std::printf("%-3s %-31s %-5s %-21s %-21s %-17s %-7s %-4s %s\n", "#", "Name", "Clip", "Commence",
              "Expiry", "Window", "Days", "Flags", "Schedule");
  for (int i = 0; i < list.count(); ++i) {
    const ann_blk& a = list[i];
    const std::string window = day_time_text(a.day_from) + "-" + day_time_text(a.day_to);
    std::string flags;
    flags += a.chimes != 0 ? 'C' : '-';
    flags += a.confirm != 0 ? '?' : '-';
    flags += a.manual != 0 ? 'M' : '-';
    flags += a.user_made != 0 ? 'U' : '-';
    std::printf(
        "%-3d %-31s %-5d %-21s %-21s %-17s %-7s %-5s %s\n", i, display_text(a.name_text()).c_str(),
        a.clip, moment_text(a.commence, st.order).c_str(), moment_text(a.expiry, st.order).c_str(),
        window.c_str(), weekday_text(a.weekdays).c_str(), flags.c_str(), schedule_text(a).c_str());
  }
  std::printf("%d announcement(s). Flags: C chimes, ? confirm, M manual, U user-made.\n",
              list.count());
  const updateinfo& n = st.content.notice;
  if (n.next_show != moment_never) {
    std::printf("Notice at %s, repeat %d s: %s\n", moment_text(n.next_show, st.order).c_str(),
                n.repeat, display_text(n.text).c_str());
  } else {
    std::printf("No notice pending.\n");
  }
  return 0;
}

}  // namespace zta::tool
