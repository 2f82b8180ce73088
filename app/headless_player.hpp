#pragma once
// The player without windows or tray icon (started with "/service" before anyone logs on): the
// scheduler's timers, remote requests and files handed over, nothing shown.
#include <QObject>
#include <optional>
#include <string>

#include "app/app_context.hpp"
#include "app/tick_timers.hpp"

namespace zta {

class headless_player : public QObject, public tick_callouts {
  Q_OBJECT
 public:
  explicit headless_player(app_context& ctx, QObject* parent = nullptr);
  ~headless_player() override;

  void set_up(const std::optional<std::string>& self_command);
  // A command text: a file is loaded; window commands mean nothing here.
  void open_command(const std::optional<std::string>& text);

  // tick_callouts: nobody can see a notice here, so it waits for a copy with a window.
  void show_notice(const std::string&) override {}
  bool can_show_notice() const override { return false; }
  bool run_automatic_update() override;
  void close_splash() override {}

  tick_timers& timers() { return timers_; }

 private:
  app_context& ctx_;
  tick_timers timers_;
};

}  // namespace zta
