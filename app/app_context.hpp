#pragma once
// Everything one running player owns: the platform services (sound devices, clock, start-up
// registry, ...), the station, the player, the remote control folder and the scheduler tick. The
// program makes one; every test makes its own. Whichever front end runs (the window or the headless
// player) attaches itself as the tick's callouts.
#include <memory>
#include <string>

#include "announcements/remote_folder.hpp"
#include "announcements/station.hpp"
#include "app/scheduler/scheduler_tick.hpp"
#include "audio/announcement_player.hpp"
#include "audio/device_memory.hpp"
#include "loading/inet_class.hpp"
#include "platform/api/startup_registry.hpp"
#include "platform/api/wall_clock.hpp"
#include "platform/backends/audio_backends.hpp"
#include "platform/sndfile/sndfile_pcm_decoder.hpp"

namespace zta {

class load_method_scope;

// Forwards the tick's requests to the attached front end; without one they do nothing.
class tick_relay final : public tick_callouts {
 public:
  void attach(tick_callouts* target) { target_ = target; }
  void show_notice(const std::string& text) override {
    if (target_ != nullptr) target_->show_notice(text);
  }
  bool can_show_notice() const override { return target_ != nullptr && target_->can_show_notice(); }
  bool run_automatic_update() override {
    return target_ != nullptr && target_->run_automatic_update();
  }
  void close_splash() override {
    if (target_ != nullptr) target_->close_splash();
  }
  void started(start_trigger why, int index) override {
    if (target_ != nullptr) target_->started(why, index);
  }

 private:
  tick_callouts* target_ = nullptr;
};

struct app_context {
  // `data_folder` with a trailing '/'. Members of `services` left empty get the system's
  // backends. Reads nothing yet: the front end loads the settings.
  app_context(std::string data_folder, platform_services services);
  ~app_context();
  app_context(const app_context&) = delete;
  app_context& operator=(const app_context&) = delete;

  // Removes leftover temporary settings files, load_settings, then the set-up values of the
  // tick.
  void load();
  // save_settings and clears both dirty flags; returns whether the file was written. A failed
  // save keeps the change marked, so the next idle moment or the end tries again.
  bool save();
  bool dirty() const { return settings_dirty || tick.settings_dirty; }

  // The device lists of this machine as the backends give them now.
  sound_device_lists device_lists() const;
  // Keeps the names of the devices the settings choose now (after the Settings dialog).
  void remember_devices();
  // Moves the settings' device indexes to where the kept names are now, for `roles`; each move
  // is told on stderr and noted in the missed file, and marks the settings changed.
  void find_devices_again(std::span<const device_role> roles);

  platform_services services;
  station st;
  device_memory devices;
  announcement_player player;
  remote_folder remote;
  tick_relay relay;
  scheduler_tick tick;
  // The FTP worker lives as long as the player, so a download outlives a cancelled dialog.
  inet_class inet;
  bool settings_dirty = false;  // set by the window's commands; the tick keeps its own
  // While a handed-over file is loaded: what the saves write as the load method.
  const load_method_scope* one_load_method = nullptr;
};

}  // namespace zta
