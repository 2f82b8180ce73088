#pragma once
// SetDlg: the "Settings" dialog. It edits the settings block in place: the sound devices and
// levels, balanced output, the music fade, the sequence-play interval, chimes, the page
// microphone and the control folder; and it switches the start-up entries at once. It stores its
// controls into the settings when it closes, by "OK" and by Escape alike.
//
// Device lists are the devices present when the dialog opens; a list item's index is the device
// index. A stored device beyond its list shows as "(not present)" and is kept unless the user
// picks another (announcements/settings_choices.hpp).
#include <QDialog>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "announcements/settings_block.hpp"
#include "announcements/settings_choices.hpp"
#include "ui/dialog_template.hpp"
#include "ui/message_box.hpp"

namespace zta {
class startup_registry;
}

namespace zta::ui {

// Device names in device-index order.
struct device_lists {
  std::vector<std::string> wave_out;
  std::vector<std::string> wave_in;
  std::vector<std::string> mixer_lines;
};

enum set_dlg_control : int {
  set_ok = 1,
  set_fade_enable = 102,
  set_announcement_level = 103,
  set_fade_device = 104,
  set_fade_up = 105,
  set_fade_down = 106,
  set_audition_enable = 107,
  set_audition_device = 108,
  set_day_part = 109,
  set_sound_out_device = 110,
  set_record_enable = 111,
  set_record_device = 112,
  set_sequence_enable = 113,
  set_sequence_interval = 114,
  set_balanced = 115,
  set_page_enable = 116,
  set_page_device = 117,
  set_mic_level = 118,
  set_chimes = 119,
  set_logon_start = 120,
  set_service_start = 121,
  set_folder_enable = 122,
  set_folder = 123,
  set_customer = 124,
  set_help = 998,
};

inline constexpr char settings_caption[] = "Settings";
extern const char balancing_off_text[];
extern const char balancing_on_text[];
extern const char service_install_refused_text[];

class SetDlg : public QDialog {
  Q_OBJECT
 public:
  // What the dialog reaches besides the settings.
  struct links {
    startup_registry* registry = nullptr;  // none: the run-mode boxes stay disabled
    message_box_fn box;                    // the balancing questions, the service failure
    std::function<void(int context)> help;
  };

  SetDlg(settings_block& settings, owner_block& owner, device_lists devices, links with,
         QWidget* parent = nullptr);

  QWidget* control(int id) const { return controls_.at(id); }

  void accept() override;
  void reject() override;

 private:
  struct device_combo {
    int combo;
    int enable_box;  // -1: the sound-out list has none
    std::array<int, 2> levels;
    std::int8_t stored;
    device_items items;
  };

  void fill_devices(device_combo& d, const std::vector<std::string>& names);
  void set_up();
  void set_up_run_mode();
  void set_device_enabled(const device_combo& d, bool on);
  void enable_box_clicked(device_combo& d);
  void balanced_clicked();
  void logon_clicked();
  void service_clicked();
  void day_part();
  void customer();
  std::int8_t chosen_device(const device_combo& d) const;
  void store();
  void close_storing(int result);

  settings_block& settings_;
  owner_block& owner_;
  device_lists devices_;
  links links_;
  dialog_controls controls_;
  std::array<device_combo, 5> combos_;  // sound out, fade, page, audition, record
  bool closed_ = false;
};

}  // namespace zta::ui
