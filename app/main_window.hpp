#pragma once
// main_window: the control panel inside the frame. It lists the announcements that may be played
// by hand, plays and stops them, opens the other dialogs and the manual, hosts the live page
// button, opens command texts handed to the program, and runs the scheduler's timers.
#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "app/player_front_end.hpp"
#include "ui/loadoptsdlg.hpp"
#include "ui/logo_win.hpp"
#include "ui/main_window_controls.hpp"
#include "ui/message_box.hpp"

class QLabel;

namespace zta {

namespace ui {
class TMesList;
class TPageGlyph;
class TTooltip;
}  // namespace ui

using ui::control_id;
using enum ui::control_id;

extern const char not_current_text[];
extern const char not_current_caption[];
extern const char confirm_play_format[];
extern const char notice_caption[];

// Where the manual is: next to the program, or in the source tree's docs/ when run from a build
// folder; empty when none is found.
std::string find_manual(const std::string& program_folder);

class main_window : public QWidget, public player_front_end {
  Q_OBJECT
 public:
  main_window(app_context& ctx, message_box_fn box, QWidget* parent = nullptr);
  ~main_window() override;

  // The set-up after the controls: settings, list, the command text to open (posted), timers,
  // splash, tooltips, levels and the control folder.
  void set_up(const std::optional<std::string>& self_command);

  // Commands.
  void fill_list();
  void show_script();
  void play_selected();
  void stop();
  void announcement_control();
  void load();
  void settings();
  void help();
  void close_panel();
  // A command text (none: bring the window to the front).
  void open_command(const std::optional<std::string>& text) override;

  // tick_callouts
  void show_notice(const std::string& text) override;
  void close_splash() override;
  // A load would change the list under the Announcement Control dialog's rows: while it is open
  // the update waits for the next check.
  bool run_automatic_update() override;

  bool editing() const { return editing_; }

  QWidget* control(int id) const;
  int list_count() const { return list_count_; }
  // The announcement index shown at a list position; -1 for a position that is not valid or an
  // index the announcement list no longer has.
  int list_index(int position) const;
  ui::logo_win* splash() const { return splash_; }
  // The program's folder, where Help looks for the manual.
  void set_program_folder(std::string folder) { program_folder_ = std::move(folder); }
  // How a URL is opened (QDesktopServices by default; tests replace it).
  std::function<void(const QString& url)> open_url;
  // "Locate File" of the Load dialog (the system's open-file dialog by default; tests replace it).
  ui::locate_file_fn locate_file;

 signals:
  void hideRequested();     // hide the frame into the notification area
  void restoreRequested();  // restore the frame and bring it to the front

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void make_controls();
  void open_splash();
  QRect dialog_rect(int x, int y, int w, int h) const;
  // Opens the manual at a help context.
  void help_at(int context);
  box_answer box(box_kind kind, const QString& caption, const QString& text);
  void settings_loaded() override { fill_list(); }
  void timers_armed() override;
  bool run_load() override;
  void refill_list() override;
  void control_folder_refused(const std::string& why) override;

  // Who the shown selection is, so a refill after the list changed finds it again.
  struct selected_identity {
    std::int32_t id_stamp = 0;
    std::int32_t id_serial = 0;
    std::string name;
  };

  message_box_fn box_;
  std::array<std::int8_t, 128> list_map_{};
  int list_count_ = 0;
  std::optional<selected_identity> selected_;
  bool setting_up_ = false;
  QPointer<ui::logo_win> splash_;
  ui::TTooltip* tooltip_ = nullptr;
  ui::TMesList* list_ = nullptr;
  ui::TPageGlyph* page_ = nullptr;
  QLabel* script_ = nullptr;
  std::map<int, QWidget*> controls_;
  int base_x_ = 6;
  int base_y_ = 13;
  std::string program_folder_;
  bool editing_ = false;  // the Announcement Control dialog is open
  // A file handed over while the dialog was open, loaded once it has closed.
  std::optional<std::string> pending_command_;
};

}  // namespace zta
