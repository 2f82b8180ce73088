#pragma once
// loadoptsdlg: the "Load Announcements" dialog. It chooses the load method and its parameters in
// the load options (loading/load_options_edit.hpp holds the rules) and starts a load through the
// progress dialog. Both "&Load Now" and "Cancel" store the options; a successful load closes it;
// a failed file load opens "Locate File" and, when a file is picked, tries again.
#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "announcements/settings_block.hpp"
#include "ui/dialog_template.hpp"

namespace zta::ui {

enum load_dialog_control : int {
  load_now = 1,
  load_cancel = 2,
  load_disk = 101,
  load_drive = 102,
  load_file = 103,
  load_path = 104,
  load_browse = 105,
  load_ftp = 106,
  load_server = 107,
  load_daily = 108,
};

inline constexpr char load_options_caption[] = "Load Announcements";
inline constexpr char locate_file_caption[] = "Locate File";
// Qt's form of the filter "VRX, ANN or WAV Files" / "*.vrx;*.ann;*.wav".
inline constexpr char locate_file_filter[] = "VRX, ANN or WAV Files (*.vrx *.ann *.wav)";

// "Locate File": the chosen file (an existing one), or none when the user cancels.
using locate_file_fn =
    std::function<std::optional<std::string>(QWidget* parent, const std::string& current_path)>;
// The system's open-file dialog, opening in the folder of `current_path` with its name preset.
std::optional<std::string> locate_file_dialog(QWidget* parent, const std::string& current_path);

class loadoptsdlg : public QDialog {
  Q_OBJECT
 public:
  struct links {
    std::function<bool()> run_load;  // the progress dialog by the stored options; true: loaded
    locate_file_fn locate_file;
    std::function<std::int32_t()> now;  // for the daily check's times
  };

  loadoptsdlg(load_options& options, links with, QWidget* parent = nullptr);

  QWidget* control(int id) const { return controls_.at(id); }

  // Cancel, Escape and the close box store the options and close without loading.
  void reject() override;

 private:
  load_method chosen_method() const;
  void method_chosen();
  void store();
  void load_now_clicked();
  void browse();
  bool locate();

  load_options& options_;
  links links_;
  dialog_controls controls_;
};

}  // namespace zta::ui
