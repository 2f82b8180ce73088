#include "app/app_context.hpp"

#include <cstdio>
#include <cstdlib>

#include "announcements/settings_block.hpp"
#include "announcements/settings_store.hpp"
#include "base/file_io.hpp"
#include "loading/load_job.hpp"
#include "platform/backends/system_services.hpp"

namespace zta {

namespace {

// Fills what the caller left empty; an unusable ZTA_AUDIO was reported by the program already.
platform_services& completed(platform_services& s) {
  std::string error;
  if (!fill_system_services(s, std::getenv("ZTA_AUDIO"), error))
    std::fprintf(stderr, "vrxpar: %s\n", error.c_str());
  return s;
}

}  // namespace

app_context::app_context(std::string data_folder, platform_services svc)
    : services(std::move(completed(svc))),
      st(std::move(data_folder), services.clock->local_now()),
      player(st, *services.devices.out, *services.devices.mixer),
      tick(st, player, remote, *services.clock, relay),
      inet(services.ftp) {
  st.clock.set(services.clock->local_now());
  st.order = services.locale->short_date_order();
  tick.set_notifier(services.notifier.get());
  remote.missed = missed_log(st.data_folder);
}

app_context::~app_context() {
  player.stop();
  release_pieces(st);
}

void app_context::load() {
  // What a save killed midway left behind (the settings file itself is always whole).
  remove_replace_leftovers(st.data_folder + settings_file_name);
  load_settings(st);
  settings_dirty = false;
  tick.settings_dirty = false;
  st.clock.set(services.clock->local_now());
}

bool app_context::save() {
  settings_dirty = false;
  tick.settings_dirty = false;
  if (save_settings(st)) return true;
  settings_dirty = true;
  return false;
}

}  // namespace zta
