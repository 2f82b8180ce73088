#include "loading/load_options_edit.hpp"

#include "announcements/text_encoding.hpp"
#include "base/byte_codec.hpp"

namespace zta {

load_method_controls enabled_controls(load_method method) {
  switch (method) {
    case load_method::disk:
      return {.drive = true};
    case load_method::file:
      return {.path = true};
    case load_method::ftp:
      return {.server = true, .daily = true};
  }
  return {};
}

bool daily_check_ticked(const load_options& o) {
  return o.update_interval > 0;
}

void store_load_dialog(load_options& o, const load_dialog_state& state, std::int32_t now) {
  o.method = state.method;
  if (state.drive == 0 || state.drive == 1) o.drive = static_cast<std::uint8_t>(state.drive);
  if (state.path) set_field_text(o.file_path, cut_at_character(*state.path, load_field_limit));
  if (state.server) set_field_text(o.ftp_server, cut_at_character(*state.server, load_field_limit));
  if (state.method == load_method::ftp && state.daily) {
    o.update_interval = daily_update_interval;
    o.last_success = now;
    o.last_attempt = now;
  } else {
    o.update_interval = -1;
  }
}

void store_located_path(load_options& o, std::string_view path) {
  set_field_text(o.file_path, cut_at_character(path, located_path_limit));
}

locate_start locate_file_start(std::string_view current, std::string_view current_folder) {
  const std::size_t slash = current.find_last_of('/');
  if (slash == std::string_view::npos) return {std::string(current_folder), std::string(current)};
  return {std::string(current.substr(0, slash + 1)), std::string(current.substr(slash + 1))};
}

}  // namespace zta
