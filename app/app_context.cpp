#include "app/app_context.hpp"

#include <cstdio>
#include <cstdlib>

#include "announcements/settings_block.hpp"
#include "announcements/settings_store.hpp"
#include "base/file_io.hpp"
#include "loading/load_job.hpp"
#include "loading/load_method_scope.hpp"
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
      devices(st.data_folder),
      player(st, *services.devices.out, *services.devices.mixer),
      tick(st, player, remote, *services.clock, relay),
      inet(services.ftp) {
  st.clock.set(services.clock->local_now());
  st.order = services.locale->short_date_order();
  // Before every play: a card that came back under another number is played on all the same.
  player.set_before_open([this] {
    static constexpr device_role out[] = {device_role::sound_out};
    find_devices_again(out);
  });
  tick.set_notifier(services.notifier.get());
  remote.missed = missed_log(st.data_folder);
}

sound_device_lists app_context::device_lists() const {
  sound_device_lists lists;
  const audio_devices& d = services.devices;
  if (d.out) lists.wave_out = d.out->device_names();
  if (d.in) lists.wave_in = d.in->device_names();
  if (d.mixer) lists.mixer_lines = d.mixer->line_names();
  return lists;
}

void app_context::remember_devices() {
  devices.remember(st.settings, device_lists());
}

void app_context::find_devices_again(std::span<const device_role> roles) {
  if (!devices.has_names()) return;
  sound_device_lists lists;
  const audio_devices& d = services.devices;
  for (device_role r : roles) {
    if ((r == device_role::sound_out || r == device_role::audition) && d.out &&
        lists.wave_out.empty())
      lists.wave_out = d.out->device_names();
    if (r == device_role::record && d.in) lists.wave_in = d.in->device_names();
    if ((r == device_role::music || r == device_role::microphone) && d.mixer &&
        lists.mixer_lines.empty())
      lists.mixer_lines = d.mixer->line_names();
  }
  for (const device_change& c : devices.find_again(st.settings, lists, roles)) {
    const std::string text = c.text();
    std::fprintf(stderr, "vrxpar: %s\n", text.c_str());
    player.missed().note(st.clock.now, note_device, text);
    settings_dirty = true;
  }
}

app_context::~app_context() {
  player.stop(missed_reason::program_ended);
  release_pieces(st);
}

void app_context::load() {
  // What a save killed midway left behind (the settings file itself is always whole).
  remove_replace_leftovers(st.data_folder + settings_file_name);
  load_settings(st);
  settings_dirty = false;
  tick.settings_dirty = false;
  st.clock.set(services.clock->local_now());
  if (!devices.has_names()) {
    devices.start(st.settings, device_lists());
  } else {
    find_devices_again(all_device_roles);
  }
}

bool app_context::save() {
  settings_dirty = false;
  tick.settings_dirty = false;
  // Inside a handed-over file's load (an idle save between sounds, the end at a signal) the file
  // keeps the user's method: a crash before the load's end must not leave the one-load method.
  bool saved = false;
  if (one_load_method != nullptr) {
    const load_options during = st.load_opts;
    one_load_method->put_back(st.load_opts);
    saved = save_settings(st);
    st.load_opts = during;
  } else {
    saved = save_settings(st);
  }
  if (saved) return true;
  settings_dirty = true;
  return false;
}

}  // namespace zta
