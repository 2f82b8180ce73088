#include "ui/set_dlg.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "announcements/text_encoding.hpp"
#include "base/byte_codec.hpp"
#include "platform/api/startup_registry.hpp"
#include "ui/customer_dlg.hpp"
#include "ui/day_part_dlg.hpp"
#include "ui/help.hpp"
#include "ui/ldb_edit.hpp"

namespace zta::ui {

const char balancing_off_text[] =
    "Are you sure you wish to turn balancing off?\r\rIf you are using a balanced connection to "
    "the amplifier and turn balancing off you will not hear your announcements!";
const char balancing_on_text[] =
    "Are you sure you wish to turn balancing on?\r\rBalanced Output can only be used (1) with a "
    "Amplifier which supports balanced line input, and (2) if the Background Music Source and "
    "Paging Microphone are also connected as balanced inputs. For more information refer to the "
    "help screen.";
const char service_install_refused_text[] =
    "To fully install this software as a service in Windows NT, Administrator Access is "
    "required. You can run the software now but please install the software again once you have "
    "logged in as an administrator.";

namespace {

using k = item_kind;
// 338 x 239 dialog units; two columns of groups, the buttons at the bottom right.
constexpr QSize dialog_size{338, 239};
const dialog_item items[] = {
    {-1, k::group, {6, 4, 160, 78}, "Sound Out Device"},
    {-1, k::label, {12, 15, 148, 8}, "Announcement Volume Level"},
    {set_announcement_level, k::level, {12, 25, 148, 10}},
    {set_sound_out_device, k::combo, {12, 40, 148, 12}},
    {set_balanced, k::manual_check, {12, 60, 74, 10}, "Balanced Output"},
    {set_day_part, k::push, {90, 58, 70, 14}, "Day-Part Volume"},

    {-1, k::group, {6, 86, 160, 80}, "Automatic Background Music Fade"},
    {set_fade_enable, k::manual_check, {12, 97, 148, 10}, "Enable Automatic Fade"},
    {set_fade_device, k::combo, {12, 110, 148, 12}},
    {-1, k::label, {12, 129, 40, 8}, "Fade Up"},
    {set_fade_up, k::level, {54, 128, 106, 10}},
    {-1, k::label, {12, 147, 40, 8}, "Fade Down"},
    {set_fade_down, k::level, {54, 146, 106, 10}},

    {-1, k::group, {6, 170, 160, 28}, "Auto-Play"},
    {set_sequence_enable, k::check, {12, 182, 120, 10}, "Enable Sequence-Play Interval"},
    {set_sequence_interval, k::edit, {132, 181, 14, 12}},
    {-1, k::label, {148, 183, 17, 8}, "mins"},

    {-1, k::group, {6, 202, 160, 30}, "Chimes"},
    {set_chimes, k::combo, {12, 213, 148, 12}},

    {-1, k::group, {172, 4, 160, 54}, "Live Page Microphone"},
    {set_page_enable, k::manual_check, {178, 15, 148, 10}, "Enable Page"},
    {set_page_device, k::combo, {178, 27, 148, 12}},
    {-1, k::label, {178, 45, 40, 8}, "Mic Level"},
    {set_mic_level, k::level, {220, 44, 106, 10}},

    {-1, k::group, {172, 62, 160, 38}, "ZTAremote Play by Remote Computer"},
    {set_folder_enable, k::check, {178, 73, 148, 10}, "Enable Control Folder Access"},
    {set_folder, k::edit, {178, 85, 148, 12}},

    {-1, k::group, {172, 104, 160, 34}, "Startup Run Mode"},
    {set_logon_start, k::check, {178, 115, 148, 10}, "Automatic Run on Startup"},
    {set_service_start, k::check, {178, 126, 148, 10}, "Run as Service before Logon"},

    {-1, k::group, {172, 142, 160, 38}, "Audition Play Device"},
    {set_audition_enable, k::manual_check, {178, 153, 148, 10}, "Enable Audition Play"},
    {set_audition_device, k::combo, {178, 165, 148, 12}},

    {-1, k::group, {172, 184, 160, 36}, "User Record Device"},
    {set_record_enable, k::manual_check, {178, 195, 148, 10}, "Enable User Record"},
    {set_record_device, k::combo, {178, 207, 148, 12}},

    {set_customer, k::push, {172, 223, 50, 14}, "C&ustomer..."},
    {set_help, k::push, {227, 223, 50, 14}, "&Help"},
    {set_ok, k::default_push, {282, 223, 50, 14}, "OK"},
};

const char* const chime_names[] = {"No Chimes", "1 Note", "2 Notes", "3 Notes"};

QString shown(std::string_view bytes) {
  return QString::fromStdString(display_text(bytes));
}

}  // namespace

SetDlg::SetDlg(settings_block& settings, owner_block& owner, device_lists devices, links with,
               QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      owner_(owner),
      devices_(std::move(devices)),
      links_(std::move(with)) {
  setWindowTitle(settings_caption);
  setModal(true);
  controls_.build(*this, dialog_size, items);
  combos_ = {{
      {set_sound_out_device, -1, {-1, -1}, settings_.sound_out_device, {}},
      {set_fade_device, set_fade_enable, {set_fade_up, set_fade_down}, settings_.music_device, {}},
      {set_page_device, set_page_enable, {set_mic_level, -1}, settings_.mic_device, {}},
      {set_audition_device, set_audition_enable, {-1, -1}, settings_.audition_device, {}},
      {set_record_device, set_record_enable, {-1, -1}, settings_.record_device, {}},
  }};

  for (device_combo& d : combos_) {
    if (d.enable_box < 0) continue;
    connect(controls_.get<QCheckBox>(d.enable_box), &QCheckBox::clicked, this,
            [this, &d] { enable_box_clicked(d); });
  }
  connect(controls_.get<QCheckBox>(set_balanced), &QCheckBox::clicked, this,
          &SetDlg::balanced_clicked);
  connect(controls_.get<QCheckBox>(set_sequence_enable), &QCheckBox::clicked, this,
          [this](bool on) { control(set_sequence_interval)->setEnabled(on); });
  connect(controls_.get<QCheckBox>(set_folder_enable), &QCheckBox::clicked, this,
          [this](bool on) { control(set_folder)->setEnabled(on); });
  connect(controls_.get<QCheckBox>(set_logon_start), &QCheckBox::clicked, this,
          &SetDlg::logon_clicked);
  connect(controls_.get<QCheckBox>(set_service_start), &QCheckBox::clicked, this,
          &SetDlg::service_clicked);
  connect(controls_.get<QPushButton>(set_day_part), &QPushButton::clicked, this, &SetDlg::day_part);
  connect(controls_.get<QPushButton>(set_customer), &QPushButton::clicked, this, &SetDlg::customer);
  connect(controls_.get<QPushButton>(set_help), &QPushButton::clicked, this, [this] {
    if (links_.help) links_.help(help_settings);
  });
  connect(controls_.get<QPushButton>(set_ok), &QPushButton::clicked, this, &SetDlg::accept);
  set_up();
}

void SetDlg::fill_devices(device_combo& d, const std::vector<std::string>& names) {
  auto* combo = controls_.get<QComboBox>(d.combo);
  d.items = list_device_items(static_cast<int>(names.size()), d.stored);
  for (int i = 0; i < d.items.present; ++i)
    combo->addItem(shown(names[static_cast<std::size_t>(i)]));
  if (d.items.not_present) combo->addItem(QString::fromLatin1(device_not_present_text));
}

void SetDlg::set_device_enabled(const device_combo& d, bool on) {
  controls_.get<QCheckBox>(d.enable_box)->setChecked(on);
  control(d.combo)->setEnabled(on);
  for (int level : d.levels) {
    if (level >= 0) control(level)->setEnabled(on);
  }
}

void SetDlg::set_up() {
  controls_.get<LDBEdit>(set_announcement_level)->set_value(settings_.announcement_level);
  fill_devices(combos_[0], devices_.wave_out);
  fill_devices(combos_[1], devices_.mixer_lines);
  fill_devices(combos_[2], devices_.mixer_lines);
  fill_devices(combos_[3], devices_.wave_out);
  fill_devices(combos_[4], devices_.wave_in);
  controls_.get<QComboBox>(set_sound_out_device)->setCurrentIndex(combos_[0].items.selected);
  controls_.get<QCheckBox>(set_balanced)->setChecked(settings_.balanced != 0);

  // The enabled devices show their choice; the others are off with their first item shown.
  for (std::size_t i = 1; i < combos_.size(); ++i) {
    const device_combo& d = combos_[i];
    const bool on = d.stored >= 0;
    set_device_enabled(d, on);
    auto* combo = controls_.get<QComboBox>(d.combo);
    combo->setCurrentIndex(on ? d.items.selected : (combo->count() > 0 ? 0 : -1));
  }
  controls_.get<LDBEdit>(set_fade_up)->set_value(settings_.music_up_level);
  controls_.get<LDBEdit>(set_fade_down)->set_value(settings_.music_down_level);
  controls_.get<LDBEdit>(set_mic_level)->set_value(settings_.mic_level);

  const bool sequence = settings_.sequence_interval != 0;
  controls_.get<QCheckBox>(set_sequence_enable)->setChecked(sequence);
  auto* interval = controls_.get<QLineEdit>(set_sequence_interval);
  interval->setText(sequence ? QString::number(settings_.sequence_interval) : QString());
  interval->setEnabled(sequence);

  auto* chimes = controls_.get<QComboBox>(set_chimes);
  for (const char* name : chime_names) chimes->addItem(QString::fromLatin1(name));
  chimes->setCurrentIndex(settings_.chimes < 4 ? settings_.chimes : -1);

  const std::string_view folder = field_text(settings_.control_folder);
  controls_.get<QCheckBox>(set_folder_enable)->setChecked(!folder.empty());
  auto* folder_edit = controls_.get<QLineEdit>(set_folder);
  folder_edit->setText(shown(folder));
  folder_edit->setEnabled(!folder.empty());

  set_up_run_mode();
}

void SetDlg::set_up_run_mode() {
  auto* logon = controls_.get<QCheckBox>(set_logon_start);
  auto* service = controls_.get<QCheckBox>(set_service_start);
  startup_registry* r = links_.registry;
  logon->setEnabled(r != nullptr);
  if (r != nullptr && r->logon_start_is_set()) {
    logon->setChecked(true);
    service->setChecked(r->service_is_installed());
    service->setEnabled(true);
  } else {
    logon->setChecked(false);
    service->setChecked(false);
    service->setEnabled(false);
  }
}

void SetDlg::enable_box_clicked(device_combo& d) {
  const bool was_on = controls_.get<QCheckBox>(d.enable_box)->isChecked();
  set_device_enabled(d, !was_on);
  if (!was_on) {
    auto* combo = controls_.get<QComboBox>(d.combo);
    combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
  }
}

void SetDlg::balanced_clicked() {
  auto* box = controls_.get<QCheckBox>(set_balanced);
  const bool on = box->isChecked();
  const char* text = on ? balancing_off_text : balancing_on_text;
  if (links_.box && links_.box(this, box_kind::yes_no_warning, QStringLiteral("Warning"),
                               QString::fromLatin1(text)) == box_answer::yes)
    box->setChecked(!on);
}

void SetDlg::logon_clicked() {
  if (startup_registry* r = links_.registry) {
    if (controls_.get<QCheckBox>(set_logon_start)->isChecked()) {
      r->logon_start_set();
    } else {
      // Without the log-on start there is no service start either.
      r->service_uninstall();
      r->logon_start_clear();
    }
  }
  set_up_run_mode();
}

void SetDlg::service_clicked() {
  if (startup_registry* r = links_.registry) {
    if (controls_.get<QCheckBox>(set_service_start)->isChecked()) {
      if (!r->service_install() && links_.box)
        links_.box(nullptr, box_kind::ok_information, QString(),
                   QString::fromLatin1(service_install_refused_text));
    } else {
      r->service_uninstall();
    }
  }
  set_up_run_mode();
}

void SetDlg::day_part() {
  DayPartDlg dlg(settings_, links_.help, this);
  dlg.exec();
}

void SetDlg::customer() {
  customer_dlg dlg(owner_, links_.box, this);
  dlg.exec();
}

std::int8_t SetDlg::chosen_device(const device_combo& d) const {
  if (d.enable_box >= 0 && !controls_.get<QCheckBox>(d.enable_box)->isChecked()) return -1;
  return device_for_item(d.items, controls_.get<QComboBox>(d.combo)->currentIndex(), d.stored);
}

void SetDlg::store() {
  settings_block& s = settings_;
  s.sound_out_device = chosen_device(combos_[0]);
  s.announcement_level = controls_.get<LDBEdit>(set_announcement_level)->value();
  s.balanced = controls_.get<QCheckBox>(set_balanced)->isChecked() ? 1 : 0;
  s.music_device = chosen_device(combos_[1]);
  s.music_up_level = controls_.get<LDBEdit>(set_fade_up)->value();
  s.music_down_level = controls_.get<LDBEdit>(set_fade_down)->value();
  s.sequence_interval =
      controls_.get<QCheckBox>(set_sequence_enable)->isChecked()
          ? sequence_interval_from_text(
                controls_.get<QLineEdit>(set_sequence_interval)->text().toStdString())
          : 0;
  s.mic_device = chosen_device(combos_[2]);
  s.mic_level = controls_.get<LDBEdit>(set_mic_level)->value();
  s.audition_device = chosen_device(combos_[3]);
  s.record_device = chosen_device(combos_[4]);
  if (const int chimes = controls_.get<QComboBox>(set_chimes)->currentIndex(); chimes >= 0)
    s.chimes = static_cast<std::uint8_t>(chimes);
  if (!controls_.get<QCheckBox>(set_folder_enable)->isChecked()) {
    set_field_text(s.control_folder, "");
    return;
  }
  const QString typed = controls_.get<QLineEdit>(set_folder)->text();
  // A folder shown as it was stored keeps its stored bytes, even where they are not UTF-8.
  if (typed != shown(field_text(s.control_folder)))
    set_field_text(s.control_folder, control_folder_from_text(typed.toStdString()));
}

void SetDlg::close_storing(int result) {
  if (!closed_) {
    closed_ = true;
    store();
  }
  QDialog::done(result);
}

void SetDlg::accept() {
  close_storing(QDialog::Accepted);
}

void SetDlg::reject() {
  close_storing(QDialog::Rejected);
}

}  // namespace zta::ui
