#include "app/player_front_end.hpp"

#include <QTimer>

#include "app/idle_save.hpp"
#include "app/run_mode.hpp"
#include "base/byte_codec.hpp"
#include "loading/load_method_scope.hpp"
#include "loading/update_due.hpp"

namespace zta {

player_front_end::player_front_end(QObject* owner, app_context& ctx)
    : ctx_(ctx), owner_(owner), timers_(ctx.tick) {
  ctx_.relay.attach(this);
  save_when_idle(owner_, ctx_);
}

player_front_end::~player_front_end() {
  ctx_.relay.attach(nullptr);
  timers_.kill_all();
  if (ctx_.dirty()) ctx_.save();
}

void player_front_end::set_up(const std::optional<std::string>& self_command, bool splash) {
  ctx_.load();
  settings_loaded();
  if (self_command) {
    QTimer::singleShot(0, owner_, [this, text = self_command] { open_command(text); });
  }
  ctx_.tick.set_up();  // window, sequence and minute state; page off, levels applied
  timers_.arm_all();
  if (!splash) timers_.kill(timer_splash);
  timers_armed();
  apply_control_folder();
}

void player_front_end::apply_control_folder() {
  const std::string path(field_text(ctx_.st.settings.control_folder));
  std::string why;
  if (ctx_.remote.set_control_folder(ctx_.st, path, &why) == folder_result::refused_data)
    control_folder_refused(why);
}

void player_front_end::announcements_changed() {
  ctx_.settings_dirty = true;
  refill_list();
  ctx_.remote.write_listing(ctx_.st);
}

bool player_front_end::run_automatic_update() {
  if (loading_ || !update_due(ctx_.st)) return false;
  const bool loaded = run_one_load();
  announcements_changed();
  return loaded;
}

bool player_front_end::run_one_load() {
  if (loading_) return false;
  loading_ = true;
  const bool loaded = run_load();
  loading_ = false;
  return loaded;
}

bool player_front_end::load_command_file(const std::string& text) {
  bool loaded = false;
  {
    const load_method_scope scope(ctx_.st.load_opts, command_file(text, ctx_.st.data_folder));
    ctx_.one_load_method = &scope;
    loaded = run_one_load();
    ctx_.one_load_method = nullptr;
  }
  announcements_changed();
  return loaded;
}

}  // namespace zta
