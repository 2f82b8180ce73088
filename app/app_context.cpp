#include "app/app_context.hpp"

#include "announcements/settings_block.hpp"
#include "announcements/settings_store.hpp"
#include "loading/load_job.hpp"
#include "platform/curl_ftp_client.hpp"

namespace zta {

app_context::app_context(std::string data_folder, audio_devices devs,
                         std::unique_ptr<wall_clock> clk, std::unique_ptr<startup_registry> reg)
    : st(std::move(data_folder), clk->local_now()),
      devices(std::move(devs)),
      clock(std::move(clk)),
      registry(std::move(reg)),
      player(st, *devices.out, *devices.mixer),
      tick(st, player, remote, *clock, relay),
      inet(std::make_shared<curl_ftp_client>()) {
  st.clock.set(clock->local_now());
}

app_context::~app_context() {
  player.stop();
  release_pieces(st);
}

void app_context::load() {
  load_settings(st);
  settings_dirty = false;
  tick.settings_dirty = false;
  st.clock.set(clock->local_now());
}

bool app_context::save() {
  settings_dirty = false;
  tick.settings_dirty = false;
  return save_settings(st);
}

}  // namespace zta
