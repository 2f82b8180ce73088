#pragma once
// edit_dlg: "Announcement Control", where announcements are named, scheduled, recorded,
// auditioned, imported, reordered, deleted and their scripts printed. It edits the records of the
// list in place: there is no Cancel. A text is stored only if the user typed into it since it was
// filled; edits are stored when another row is selected, before the list is rebuilt, and when the
// dialog closes or is destroyed, whichever way. Esc only stops a recording or an audition.
#include <QDialog>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "announcements/edit_fields.hpp"
#include "announcements/edit_rows.hpp"
#include "announcements/fixed_time_rows.hpp"
#include "announcements/station.hpp"
#include "audio/edit_audio.hpp"
#include "platform/api/pcm_decoder.hpp"
#include "platform/api/wall_clock.hpp"
#include "ui/message_box.hpp"
#include "ui/script_print.hpp"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace zta::ui {

class lev_rect;

inline constexpr char edit_caption[] = "Announcement Control";
inline constexpr char wav_dialog_title[] = "Add Wave File(s)";
inline constexpr char wav_dialog_filter[] = "Wave Audio Files (*.wav)";
extern const char script_limit_note[];

// Control ids of the dialog.
enum edit_control : int {
  ec_ok = 1,
  ec_name = 101,
  ec_fixed_times = 102,
  ec_add_time = 103,
  ec_chimes = 104,
  ec_delete_time = 105,
  ec_day_from = 106,
  ec_list = 107,
  ec_play = 108,
  ec_record_over = 109,
  ec_stop = 110,
  ec_new_record = 111,
  ec_delete = 112,
  ec_up = 113,
  ec_down = 114,
  ec_every = 115,
  ec_minutes = 116,
  ec_script = 117,
  ec_sequence = 118,
  ec_new_wavs = 119,
  ec_print = 120,
  ec_confirm = 121,
  ec_manual = 122,
  ec_expiry_date = 152,
  ec_commence_time = 153,
  ec_commence_date = 154,
  ec_expiry_time = 155,
  ec_day_to = 156,
  ec_mon = 162,  // .. 168 Sun
  ec_sun = 168,
  ec_level = 175,
  ec_help = 998,
};

// The devices the dialog records and auditions on; any may be null (opening it then fails).
struct edit_devices {
  wave_in* record = nullptr;
  wave_out* audition = nullptr;
  pcm_decoder_factory* decoders = nullptr;
  const wall_clock* clock = nullptr;  // "&New Record" names; null: the station's cached clock
};

// "New &Wav(s)": the system's open-file dialog, several files, in the working folder.
QStringList choose_wav_files(QWidget* owner);

// What the dialog asks of the world; tests replace them.
struct edit_hooks {
  message_box_fn box;
  std::function<void(int context)> help;  // the manual at a context number
  std::function<QStringList(QWidget* owner)> choose_wavs = choose_wav_files;
  printer_chooser choose_printer = ui::choose_printer;
  std::function<bool(std::int32_t& value, QWidget* owner)> enter_time;  // empty: tod_dlg
};

class edit_dlg : public QDialog {
  Q_OBJECT
 public:
  // `initial`: the announcement to show at first, -1 for none.
  edit_dlg(station& st, edit_devices devices, edit_hooks hooks, int initial,
           QWidget* parent = nullptr);
  ~edit_dlg() override;

  QWidget* control(int id) const;
  const edit_rows& rows() const { return rows_; }
  int current_row() const { return current_; }
  edit_audio& audio() { return audio_; }

  // Commands (the buttons and boxes call these).
  void build_list(int select);
  void show_selected();
  void store_edits();
  void record_over();
  void new_record();
  void play();
  void stop();
  void new_wavs();
  void delete_announcement();
  void move_up();
  void move_down();
  void add_fixed_time();
  void edit_fixed_time();
  void delete_fixed_time();
  void click_every();
  void click_sequence();
  void print_script();

 public slots:
  void done(int result) override;  // stores, stops (a recording is processed), closes
  void reject() override;          // Esc: stops a recording or an audition, nothing more

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void make_controls();
  void move_by(int step);  // Up (-1) and Down (+1)
  void enable_editing(bool on);
  void clear_editing();
  void fill_fixed_times();
  void update_notes();
  void limit_script();
  int selected_index() const;  // announcement of the selected row, -1 when none
  int current_index() const;   // announcement the controls show, -1 when none
  edit_fields read_fields() const;
  void store_and_detach();
  void audio_stopped();
  void show_refusal(audio_refusal r);
  std::int32_t now() const;
  std::pair<std::int32_t, std::int32_t> window_in_edits() const;

  station& st_;
  edit_devices devices_;
  edit_hooks hooks_;
  edit_audio audio_;
  edit_rows rows_;
  int current_ = -1;
  bool closed_ = false;
  std::vector<fixed_time_row> time_rows_;
  std::map<int, QWidget*> controls_;
  QListWidget* list_ = nullptr;
  QListWidget* times_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* commence_date_ = nullptr;
  QLineEdit* commence_time_ = nullptr;
  QLineEdit* expiry_date_ = nullptr;
  QLineEdit* expiry_time_ = nullptr;
  QLineEdit* day_from_ = nullptr;
  QLineEdit* day_to_ = nullptr;
  QLineEdit* minutes_ = nullptr;
  QPlainTextEdit* script_ = nullptr;
  QCheckBox* every_ = nullptr;
  QCheckBox* sequence_ = nullptr;
  QCheckBox* chimes_ = nullptr;
  QCheckBox* confirm_ = nullptr;
  QCheckBox* manual_ = nullptr;
  std::vector<QCheckBox*> weekdays_;
  QLabel* schedule_note_ = nullptr;
  QLabel* script_note_ = nullptr;
  lev_rect* meter_ = nullptr;
};

}  // namespace zta::ui
