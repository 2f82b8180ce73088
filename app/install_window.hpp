#pragma once
// The windows of the installer and the uninstaller: a frame around the install dialog (the
// program's icon, its text, the progress bar on a sunken frame, and "Stop"). The installer's
// frame runs the installer one step per idle turn; "Stop" closes it at once, which ends the
// installation (what is in place stays).
#include <QWidget>
#include <functional>
#include <string>

#include "app/message_box.hpp"
#include "install/installer.hpp"

class QPushButton;

namespace zta {

namespace ui {
class progbar;
}

// The dialog both frames show.
class inst_dlg : public QWidget {
  Q_OBJECT
 public:
  explicit inst_dlg(QWidget* parent = nullptr);
  ui::progbar* bar() const { return bar_; }
  QPushButton* stop_button() const { return stop_; }

 private:
  ui::progbar* bar_;
  QPushButton* stop_;
};

using program_starter = std::function<bool(const std::string& program, const std::string& argument,
                                           const std::string& folder)>;

class install_window : public QWidget, public install_host {
  Q_OBJECT
 public:
  // `start` starts the installed program (the default runs it detached).
  install_window(message_box_fn box, program_starter start = {}, QWidget* parent = nullptr);

  // Sets up `inst` once the window shows, then steps it while the event loop is idle; the
  // window closes when the installation has ended. `inst` must outlive the window's run.
  void run(installer& inst);
  inst_dlg* client() const { return client_; }
  bool has_ended() const { return ended_; }

  void show_progress(int percent) override;
  void report_corrupt_setup_file() override;
  void report_failure(const std::string& text) override;
  bool start_program(const std::string& program, const std::string& argument,
                     const std::string& folder) override;

 signals:
  void ended();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void next_step();

  message_box_fn box_;
  program_starter start_;
  inst_dlg* client_;
  installer* inst_ = nullptr;
  bool ended_ = false;
};

// The uninstaller's frame: asks "Confirm Uninstall!", then runs `remove` (the removals) when
// the answer is Yes, and closes.
class uninstall_window : public QWidget {
  Q_OBJECT
 public:
  uninstall_window(message_box_fn box, std::function<void()> remove, QWidget* parent = nullptr);
  void run();
  inst_dlg* client() const { return client_; }
  bool removed() const { return removed_; }

 signals:
  void ended();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  message_box_fn box_;
  std::function<void()> remove_;
  inst_dlg* client_;
  bool removed_ = false;
  bool ended_ = false;
};

}  // namespace zta
