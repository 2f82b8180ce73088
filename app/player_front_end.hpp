#pragma once
// What every front end of the player does alike, the window and the headless copy: it is the
// tick's callouts while it lives, saves the settings when the event loop is idle and when it ends,
// runs the scheduler's timers, sets itself up from the settings file, and loads the files handed
// to the program. A front end adds what it shows and how it runs a load.
#include <QObject>
#include <optional>
#include <string>

#include "app/app_context.hpp"
#include "app/tick_timers.hpp"

namespace zta {

class player_front_end : public tick_callouts {
 public:
  player_front_end(const player_front_end&) = delete;
  player_front_end& operator=(const player_front_end&) = delete;

  // A command text handed to the program (none: a start without arguments).
  virtual void open_command(const std::optional<std::string>& text) = 0;

  // tick_callouts: the update runs a load the front end's way when it is due, then
  // announcements_changed() (a load that stopped part-way changed the list too).
  bool run_automatic_update() override;

  // After the announcement list changed, whatever changed it (a load from any source, an
  // editing dialog): marks the settings changed, refills what the front end shows of the list
  // keeping the selected announcement, and rewrites the remote listing.
  void announcements_changed();
  // Applies the control folder setting (at set-up and after the Settings dialog). A refused
  // folder is reported through control_folder_refused(), once each time it is applied.
  void apply_control_folder();

  tick_timers& timers() { return timers_; }

 protected:
  // `owner` is the front end's own object: the idle save and posted commands live as long as it.
  player_front_end(QObject* owner, app_context& ctx);
  // Detaches from the tick, stops the timers and saves what changed.
  ~player_front_end();

  // The set-up, in this order: the settings file, settings_loaded(), `self_command` posted to
  // open_command, the tick's set-up values, its timers (the splash's only with `splash`),
  // timers_armed(), and last the remote control folder.
  void set_up(const std::optional<std::string>& self_command, bool splash);
  virtual void settings_loaded() {}
  virtual void timers_armed() {}
  // Refills the shown list after a change, keeping the selected announcement (default: none).
  virtual void refill_list() {}
  // Tells the user why remote control stays off.
  virtual void control_folder_refused(const std::string& why) = 0;

  // Runs one load by the load options as they are now, to its end; true when it loaded.
  virtual bool run_load() = 0;
  // run_load, unless a load is running already: the nested event loop of a load's progress
  // must not start a second load on the same list and clips (the daily check, a handed-over
  // file). False when nothing was loaded.
  bool run_one_load();
  // Loads the file that command text names by the file method (the stored method and path are
  // kept), then announcements_changed().
  bool load_command_file(const std::string& text);

  app_context& ctx_;

 private:
  QObject* owner_;
  tick_timers timers_;
  bool loading_ = false;
};

}  // namespace zta
