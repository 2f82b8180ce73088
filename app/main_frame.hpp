#pragma once
// main_frame: the top-level window "ZTA Announcement Player" around the panel, and its icon in
// the notification area. Closing it normally asks whether the automatic announcements should go
// on (then it only hides); a quit request closes it without asking.
#include <QMainWindow>
#include <QPointer>
#include <optional>
#include <string>

#include "app/app_context.hpp"
#include "app/main_window.hpp"
#include "ui/message_box.hpp"

class QSystemTrayIcon;

namespace zta {

extern const char confirm_close_caption[];
extern const char confirm_close_text[];
// The frame's title while the simulated device stands in for a missing sound card.
extern const char simulated_sound_title[];

// Why the frame closed.
enum class frame_end {
  none,          // it has not
  user_closed,   // the user answered "No": no more announcements play
  quit_request,  // a quit request (installer, service stop, a shutdown signal)
  session_end,   // the session ended
};

class main_frame : public QMainWindow {
  Q_OBJECT
 public:
  main_frame(app_context& ctx, message_box_fn box, QWidget* parent = nullptr);
  ~main_frame() override;

  main_window* client() const { return client_; }
  QSystemTrayIcon* tray() const { return tray_; }
  // Whether a notification area exists to hide into (otherwise the frame is minimised).
  bool tray_available() const;

  // Opens the "Last plays" window (or brings it to the front); the icon's menu has it.
  void show_last_plays();
  QWidget* last_plays() const { return last_plays_; }

  // Hide into the notification area (or minimise when there is none).
  void hide_to_tray();
  // Restore and bring to the front.
  void restore();
  // A command text from a second copy (none: only bring the window to the front).
  void handover(const std::optional<std::string>& text);
  // Close without asking (installer, service stop, shutdown signals), at once even while the
  // Confirm Close box is open (the settings are saved first).
  void quit_without_asking();
  // The session is ending: never ask; a Confirm Close box that is open ends the program.
  void session_ending();
  bool has_ended() const { return ended_; }
  frame_end end_reason() const { return end_reason_; }

  bool confirm_close = true;

 signals:
  void ended();  // the frame closed: the program ends

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Saves, removes the icon and ends.
  void end_now(frame_end why);

  app_context& ctx_;
  message_box_fn box_;
  main_window* client_;
  QSystemTrayIcon* tray_ = nullptr;
  QPointer<QWidget> last_plays_;
  bool ended_ = false;
  bool asking_ = false;                              // the Confirm Close box is open
  frame_end quit_reason_ = frame_end::quit_request;  // why a close without asking happens
  frame_end end_reason_ = frame_end::none;
};

}  // namespace zta
