#include "app/headless_player.hpp"

#include <cstdio>

#include "app/load_stepper.hpp"
#include "app/run_mode.hpp"

namespace zta {

void headless_player::open_command(const std::optional<std::string>& text) {
  if (!text || is_background_command(*text)) return;
  load_command_file(*text);
}

bool headless_player::run_load() {
  return run_load_without_window(ctx_);
}

void headless_player::control_folder_refused(const std::string& why) {
  std::fprintf(stderr, "vrxpar: %s\n", why.c_str());
}

}  // namespace zta
