// zta settings --data DIR [--json]: the settings block, load options and owner block by meaning.
#include <cstdio>
#include <nlohmann/json.hpp>

#include "announcements/text_encoding.hpp"
#include "base/byte_codec.hpp"
#include "tools/commands.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {
namespace {

nlohmann::ordered_json settings_json(const station& st) {
  const settings_block& s = st.settings;
  nlohmann::ordered_json parts = nlohmann::ordered_json::array();
  for (int i = 0; i < s.day_part_count && i < max_day_parts; ++i) {
    const day_part_entry& e = s.day_parts[i];
    parts.push_back({{"announcement_adjust", e.announcement_adjust},
                     {"music_adjust", e.music_adjust},
                     {"mic_adjust", e.mic_adjust},
                     {"weekdays", e.weekdays},
                     {"start", e.start},
                     {"end", e.end}});
  }
  const load_options& o = st.load_opts;
  const owner_block& w = st.content.owner;
  std::string hex;
  for (std::uint8_t b : w.bytes) {
    static const char digits[] = "0123456789abcdef";
    hex += digits[b >> 4];
    hex += digits[b & 15];
  }
  std::string ident(reinterpret_cast<const char*>(w.bytes.data()) + 4, w.bytes.size() - 4);
  ident = ident.substr(0, ident.find('\0'));
  return {
      {"settings",
       {{"announcement_level", s.announcement_level},
        {"sound_out_device", s.sound_out_device},
        {"balanced", s.balanced},
        {"music_device", s.music_device},
        {"music_up_level", s.music_up_level},
        {"music_down_level", s.music_down_level},
        {"mic_device", s.mic_device},
        {"mic_level", s.mic_level},
        {"record_device", s.record_device},
        {"audition_device", s.audition_device},
        {"sequence_interval", s.sequence_interval},
        {"chimes", s.chimes},
        {"day_part_count", s.day_part_count},
        {"day_parts", parts},
        {"control_folder", display_text(field_text(s.control_folder))}}},
      {"load_options",
       {{"method", static_cast<int>(o.method)},
        {"drive", o.drive},
        {"file_path", display_text(field_text(o.file_path))},
        {"ftp_server", display_text(field_text(o.ftp_server))},
        {"ftp_stamp", o.ftp_stamp},
        {"update_interval", o.update_interval},
        {"min_retry", o.min_retry},
        {"last_success", o.last_success},
        {"last_attempt", o.last_attempt}}},
      {"owner",
       {{"customer_number", w.customer_number()},
        {"identification", display_text(ident)},
        {"bytes", hex}}},
  };
}

void print_plain(const nlohmann::ordered_json& j) {
  for (const auto& [section, fields] : j.items()) {
    std::printf("[%s]\n", section.c_str());
    for (const auto& [key, value] : fields.items()) {
      if (key == "day_parts") {
        int i = 0;
        for (const auto& e : value) std::printf("  day_part[%d] = %s\n", i++, e.dump().c_str());
      } else {
        std::printf("  %-20s %s\n", key.c_str(),
                    value.is_string() ? value.get<std::string>().c_str() : value.dump().c_str());
      }
    }
  }
}

}  // namespace

int cmd_settings(const arg_list& args) {
  const auto opts = parse_options(args, {"--data"}, {"--json"});
  if (!opts) return 2;
  station st;
  if (const int status = open_data_folder(*opts, st); status != 0) return status;
  const nlohmann::ordered_json j = settings_json(st);
  if (opts->flag("--json")) {
    std::printf("%s\n", j.dump(2).c_str());
  } else {
    print_plain(j);
  }
  return 0;
}

}  // namespace zta::tool
