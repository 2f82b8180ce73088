#pragma once
// The player without windows or tray icon (started with "/service" before anyone logs on): the
// scheduler's timers, remote requests and files handed over, nothing shown.
#include <QObject>
#include <optional>
#include <string>

#include "app/player_front_end.hpp"

namespace zta {

class headless_player : public QObject, public player_front_end {
  Q_OBJECT
 public:
  explicit headless_player(app_context& ctx, QObject* parent = nullptr)
      : QObject(parent), player_front_end(this, ctx) {}

  // Settings, timers (no splash) and the control folder; `self_command` is opened once the loop
  // runs. Then the service manager, when one started us, hears that the player is ready.
  void set_up(const std::optional<std::string>& self_command) {
    player_front_end::set_up(self_command, false);
    if (ctx_.services.notifier) ctx_.services.notifier->ready();
  }
  // A command text: a file is loaded; window commands mean nothing here.
  void open_command(const std::optional<std::string>& text) override;

  // tick_callouts: nobody can see a notice here, so it waits for a copy with a window.
  void show_notice(const std::string&) override {}
  bool can_show_notice() const override { return false; }
  void close_splash() override {}

 private:
  bool run_load() override;
  // Nobody sees a box: the reason goes to the service's log.
  void control_folder_refused(const std::string& why) override;
};

}  // namespace zta
