#include "app/headless_player.hpp"
#include "loading/load_method_scope.hpp"

#include <QTimer>
#include <cstring>

#include "app/idle_save.hpp"
#include "app/load_stepper.hpp"
#include "app/run_mode.hpp"
#include "base/byte_codec.hpp"
#include "loading/update_due.hpp"

namespace zta {

headless_player::headless_player(app_context& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx), timers_(ctx.tick) {
  ctx_.relay.attach(this);
  save_when_idle(this, ctx_);
}

headless_player::~headless_player() {
  ctx_.relay.attach(nullptr);
  timers_.kill_all();
  if (ctx_.dirty()) ctx_.save();
}

void headless_player::set_up(const std::optional<std::string>& self_command) {
  ctx_.load();
  if (self_command) {
    QTimer::singleShot(0, this, [this, text = self_command] { open_command(text); });
  }
  ctx_.tick.set_up();
  timers_.arm_all();
  timers_.kill(timer_splash);  // no splash
  ctx_.remote.set_control_folder(ctx_.st, field_text(ctx_.st.settings.control_folder));
}

void headless_player::open_command(const std::optional<std::string>& text) {
  if (!text || is_background_command(*text)) return;
  {
    const load_method_scope scope(ctx_.st.load_opts, command_file(*text, ctx_.st.data_folder));
    run_load_without_window(ctx_);
  }
  ctx_.settings_dirty = true;
  ctx_.remote.write_listing(ctx_.st);
}

bool headless_player::run_automatic_update() {
  return update_due(ctx_.st) && run_load_without_window(ctx_);
}

}  // namespace zta
