#include "ui/edit_dlg.hpp"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>

#include "announcements/date_time_text.hpp"
#include "announcements/list_ops.hpp"
#include "announcements/text_encoding.hpp"
#include "ui/glyph_button.hpp"
#include "ui/help.hpp"
#include "ui/lev_rect.hpp"
#include "ui/loadwav_dlg.hpp"
#include "ui/recproc_dlg.hpp"
#include "ui/tod_dlg.hpp"

namespace zta::ui {

const char script_limit_note[] =
    "A script holds at most 65535 characters (a line end counts two): the rest was not taken.";

namespace {

constexpr const char* weekday_names[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
const QColor never_plays_colour(160, 0, 0);

QString shown(std::string_view bytes) {
  return QString::fromStdString(display_text(bytes));
}

text_field field_of(const QLineEdit* e) {
  return {e->text().toStdString(), e->isModified()};
}

}  // namespace

QStringList choose_wav_files(QWidget* owner) {
  // The dialog starts in the working folder and leaves it as it is.
  return QFileDialog::getOpenFileNames(owner, QString::fromLatin1(wav_dialog_title),
                                       QDir::currentPath(), QString::fromLatin1(wav_dialog_filter));
}

edit_dlg::edit_dlg(station& st, edit_devices devices, edit_hooks hooks, int initial,
                   QWidget* parent)
    : QDialog(parent),
      st_(st),
      devices_(devices),
      hooks_(std::move(hooks)),
      audio_(st, devices.record, devices.audition) {
  if (!hooks_.enter_time) hooks_.enter_time = ui::enter_time;
  setWindowTitle(QString::fromLatin1(edit_caption));
  make_controls();
  audio_.processor = dialog_processor(this, st_, hooks_.box);
  audio_.on_level = [this](int level) { meter_->set_level(level); };
  audio_.on_stopped = [this] { audio_stopped(); };
  build_list(initial);
}

edit_dlg::~edit_dlg() {
  // Destroyed without being closed: the edits are stored all the same, and a recording is still
  // processed, without a dialog.
  if (!closed_) {
    closed_ = true;
    store_edits();
  }
  audio_.processor = nullptr;
  audio_.on_level = nullptr;
  audio_.on_stopped = nullptr;
  audio_.stop();
}

QWidget* edit_dlg::control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

void edit_dlg::make_controls() {
  auto keep = [this](int id, QWidget* w) {
    controls_[id] = w;
    w->setObjectName(QString::number(id));
    return w;
  };
  auto button = [&](int id, const char* text) {
    auto* b = new QPushButton(QString::fromLatin1(text), this);
    b->setAutoDefault(false);
    keep(id, b);
    return b;
  };
  auto glyph = [&](int id, int bitmap, const char* text) {
    auto* b = new TGlyphButton(bitmap, QString::fromLatin1(text), this);
    b->setAutoDefault(false);
    keep(id, b);
    return b;
  };
  auto check = [&](int id, const char* text) {
    auto* c = new QCheckBox(QString::fromLatin1(text), this);
    keep(id, c);
    return c;
  };
  auto line = [&](int id) {
    auto* e = new QLineEdit(this);
    keep(id, e);
    return e;
  };

  // Left: the announcements and the audio buttons.
  auto* announcements = new QGroupBox(QStringLiteral(" &Announcements"), this);
  auto* left = new QVBoxLayout(announcements);
  list_ = new QListWidget(announcements);
  keep(ec_list, list_);
  left->addWidget(list_, 1);
  auto* play_row = new QHBoxLayout;
  auto* play_button = glyph(ec_play, 7, "&Play");
  auto* stop_button = glyph(ec_stop, 8, "Stop");
  meter_ = new lev_rect(this);
  keep(ec_level, meter_);
  meter_->setMinimumSize(60, 12);
  play_row->addWidget(play_button);
  play_row->addWidget(stop_button);
  play_row->addWidget(meter_, 1);
  left->addLayout(play_row);
  auto* record_row = new QHBoxLayout;
  auto* record_over_button = glyph(ec_record_over, 2, "&Record Over");
  auto* new_record_button = glyph(ec_new_record, 2, "&New Record");
  record_row->addWidget(record_over_button);
  record_row->addWidget(new_record_button);
  left->addLayout(record_row);
  auto* file_row = new QHBoxLayout;
  auto* wavs_button = button(ec_new_wavs, "New &Wav(s)");
  auto* delete_button = button(ec_delete, "Delete");
  auto* up_button = button(ec_up, "Up");
  auto* down_button = button(ec_down, "Down");
  file_row->addWidget(wavs_button);
  file_row->addWidget(delete_button);
  file_row->addWidget(up_button);
  file_row->addWidget(down_button);
  left->addLayout(file_row);
  chimes_ = check(ec_chimes, "Play with Chimes");
  confirm_ = check(ec_confirm, "Confirm before Playing Announcement");
  manual_ = check(ec_manual, "Manual Play (list in Main Window)");
  left->addWidget(chimes_);
  left->addWidget(confirm_);
  left->addWidget(manual_);

  // Right: name, autoplay, script, validity.
  auto* name_box = new QGroupBox(QStringLiteral(" &Name"), this);
  auto* name_layout = new QVBoxLayout(name_box);
  name_ = line(ec_name);
  name_layout->addWidget(name_);

  auto* autoplay = new QGroupBox(QStringLiteral(" Autoplay Announcement"), this);
  auto* auto_layout = new QGridLayout(autoplay);
  times_ = new QListWidget(autoplay);
  keep(ec_fixed_times, times_);
  times_->setMaximumHeight(90);
  auto_layout->addWidget(times_, 0, 0, 3, 1);
  auto* add_time = button(ec_add_time, "Add Fixed Time");
  auto* delete_time = button(ec_delete_time, "Delete Time");
  auto_layout->addWidget(add_time, 0, 1, 1, 2);
  auto_layout->addWidget(delete_time, 1, 1, 1, 2);
  every_ = check(ec_every, "Autoplay every (minutes)");
  minutes_ = line(ec_minutes);
  minutes_->setMaximumWidth(60);
  sequence_ = check(ec_sequence, "Autoplay in Sequence");
  auto_layout->addWidget(every_, 3, 0);
  auto_layout->addWidget(minutes_, 3, 1);
  auto_layout->addWidget(sequence_, 4, 0);

  auto* script_box = new QGroupBox(QStringLiteral(" &Script"), this);
  auto* script_layout = new QVBoxLayout(script_box);
  script_ = new QPlainTextEdit(script_box);
  keep(ec_script, script_);
  script_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  script_->setTabChangesFocus(true);
  script_layout->addWidget(script_, 1);
  script_note_ = new QLabel(QString::fromLatin1(script_limit_note), script_box);
  script_note_->setWordWrap(true);
  script_note_->setStyleSheet(QStringLiteral("color: rgb(160,0,0)"));
  script_note_->hide();
  script_layout->addWidget(script_note_);
  auto* print_button = button(ec_print, "Print &Script");
  script_layout->addWidget(print_button, 0, Qt::AlignRight);

  auto* validity = new QGridLayout;
  auto label = [&](const char* text, QWidget* buddy, int row, int col) {
    auto* l = new QLabel(QString::fromLatin1(text), this);
    l->setBuddy(buddy);
    validity->addWidget(l, row, col);
  };
  commence_date_ = line(ec_commence_date);
  commence_time_ = line(ec_commence_time);
  expiry_date_ = line(ec_expiry_date);
  expiry_time_ = line(ec_expiry_time);
  day_from_ = line(ec_day_from);
  day_to_ = line(ec_day_to);
  label("&Commence Date", commence_date_, 0, 0);
  validity->addWidget(commence_date_, 0, 1);
  label("Time", commence_time_, 0, 2);
  validity->addWidget(commence_time_, 0, 3);
  label("&Expiration Date", expiry_date_, 1, 0);
  validity->addWidget(expiry_date_, 1, 1);
  label("Time", expiry_time_, 1, 2);
  validity->addWidget(expiry_time_, 1, 3);
  label("Time of Day &From:", day_from_, 2, 0);
  validity->addWidget(day_from_, 2, 1);
  label("&To:", day_to_, 2, 2);
  validity->addWidget(day_to_, 2, 3);
  auto* days = new QHBoxLayout;
  for (int d = 0; d < 7; ++d) {
    auto* box = check(ec_mon + d, weekday_names[d]);
    weekdays_.push_back(box);
    days->addWidget(box);
  }
  validity->addLayout(days, 3, 0, 1, 4);
  schedule_note_ = new QLabel(this);
  schedule_note_->setWordWrap(true);
  schedule_note_->setStyleSheet(QStringLiteral("color: rgb(160,0,0)"));
  schedule_note_->hide();
  validity->addWidget(schedule_note_, 4, 0, 1, 4);

  auto* right = new QVBoxLayout;
  right->addWidget(name_box);
  right->addWidget(autoplay);
  right->addWidget(script_box, 1);
  right->addLayout(validity);

  auto* bottom = new QHBoxLayout;
  auto* brand = new QLabel(
      QStringLiteral("ZTA Announcement Player\nVRX Tolvane: announcements for every store"), this);
  brand->setEnabled(false);
  bottom->addWidget(brand, 1);
  auto* help_button = button(ec_help, "&Help");
  auto* ok_button = button(ec_ok, "OK");
  ok_button->setDefault(true);
  bottom->addWidget(help_button);
  bottom->addWidget(ok_button);

  auto* columns = new QHBoxLayout;
  columns->addWidget(announcements, 1);
  columns->addLayout(right, 1);
  auto* top = new QVBoxLayout(this);
  top->addLayout(columns, 1);
  top->addLayout(bottom);

  connect(list_, &QListWidget::currentRowChanged, this, [this] { show_selected(); });
  connect(times_, &QListWidget::itemDoubleClicked, this, [this] { edit_fixed_time(); });
  auto on_click = [this](QPushButton* b, void (edit_dlg::*command)()) {
    connect(b, &QPushButton::clicked, this, [this, command] { (this->*command)(); });
  };
  on_click(play_button, &edit_dlg::play);
  on_click(stop_button, &edit_dlg::stop);
  on_click(record_over_button, &edit_dlg::record_over);
  on_click(new_record_button, &edit_dlg::new_record);
  on_click(wavs_button, &edit_dlg::new_wavs);
  on_click(delete_button, &edit_dlg::delete_announcement);
  on_click(up_button, &edit_dlg::move_up);
  on_click(down_button, &edit_dlg::move_down);
  on_click(add_time, &edit_dlg::add_fixed_time);
  on_click(delete_time, &edit_dlg::delete_fixed_time);
  on_click(print_button, &edit_dlg::print_script);
  connect(help_button, &QPushButton::clicked, this, [this] {
    if (hooks_.help) hooks_.help(help_announcement_control);
  });
  connect(ok_button, &QPushButton::clicked, this, [this] { done(Accepted); });
  connect(every_, &QCheckBox::clicked, this, [this] { click_every(); });
  connect(sequence_, &QCheckBox::clicked, this, [this] { click_sequence(); });
  connect(day_from_, &QLineEdit::textEdited, this, [this] { update_notes(); });
  connect(day_to_, &QLineEdit::textEdited, this, [this] { update_notes(); });
  for (QCheckBox* box : weekdays_)
    connect(box, &QCheckBox::toggled, this, [this] { update_notes(); });
  connect(script_, &QPlainTextEdit::textChanged, this, [this] { limit_script(); });
}

int edit_dlg::selected_index() const {
  const int i = rows_.index(list_->currentRow());
  return i < st_.content.list.count() ? i : -1;
}

int edit_dlg::current_index() const {
  const int i = rows_.index(current_);
  return i < st_.content.list.count() ? i : -1;
}

std::int32_t edit_dlg::now() const {
  return devices_.clock != nullptr ? devices_.clock->local_now() : st_.clock.now;
}

void edit_dlg::build_list(int select) {
  // The edits belong to the rows as they were: stored before the rows change.
  audio_.stop();
  store_edits();
  current_ = -1;
  rows_ = build_edit_rows(st_.content.list, select);
  {
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (int r = 0; r < rows_.count(); ++r)
      list_->addItem(shown(st_.content.list[rows_.index(r)].name_text()));
    list_->setCurrentRow(rows_.selected);
  }
  show_selected();
}

void edit_dlg::enable_editing(bool on) {
  for (QWidget* w : std::initializer_list<QWidget*>{
           name_, commence_date_, commence_time_, expiry_date_, expiry_time_, day_from_, day_to_,
           times_, every_, sequence_, chimes_, confirm_, manual_, minutes_, script_})
    w->setEnabled(on);
  for (QCheckBox* box : weekdays_) box->setEnabled(on);
  for (int id : {ec_add_time, ec_delete_time, ec_play, ec_record_over, ec_delete})
    control(id)->setEnabled(on);
  control(ec_stop)->setEnabled(false);
}

void edit_dlg::clear_editing() {
  for (QLineEdit* e : {name_, commence_date_, commence_time_, expiry_date_, expiry_time_, day_from_,
                       day_to_, minutes_})
    e->setText(QString());
  {
    const QSignalBlocker quiet(script_);
    script_->setPlainText(QString());
    script_->document()->setModified(false);
  }
  // Every box but "Autoplay in Sequence", which keeps its state.
  for (QCheckBox* box : weekdays_) {
    const QSignalBlocker quiet(box);
    box->setChecked(false);
  }
  for (QCheckBox* box : {every_, chimes_, confirm_, manual_}) box->setChecked(false);
  times_->clear();
  time_rows_.clear();
  script_note_->hide();
  schedule_note_->hide();
}

void edit_dlg::show_selected() {
  audio_.stop();
  store_edits();
  const int row = list_->currentRow();
  const int index = rows_.index(row);
  if (index < 0 || index >= st_.content.list.count()) {
    current_ = -1;
    clear_editing();
    enable_editing(false);
    return;
  }
  enable_editing(true);
  const ann_blk& a = st_.content.list[index];
  const edit_fields f = shown_fields(a, st_.order);
  name_->setText(QString::fromStdString(f.name.text));
  commence_date_->setText(QString::fromStdString(f.commence_date.text));
  commence_time_->setText(QString::fromStdString(f.commence_time.text));
  expiry_date_->setText(QString::fromStdString(f.expiry_date.text));
  expiry_time_->setText(QString::fromStdString(f.expiry_time.text));
  day_from_->setText(QString::fromStdString(f.day_from.text));
  day_to_->setText(QString::fromStdString(f.day_to.text));
  for (std::size_t d = 0; d < weekdays_.size(); ++d) {
    const QSignalBlocker quiet(weekdays_[d]);
    weekdays_[d]->setChecked((f.weekdays & weekday_box_bits[d]) != 0);
  }
  every_->setChecked(f.every);
  minutes_->setText(QString::fromStdString(f.minutes.text));
  minutes_->setEnabled(f.every);
  sequence_->setChecked(f.sequence);
  {
    const QSignalBlocker quiet(script_);
    script_->setPlainText(QString::fromStdString(f.script.text));
    script_->document()->setModified(false);
  }
  script_note_->hide();
  chimes_->setChecked(f.chimes);
  confirm_->setChecked(f.confirm);
  manual_->setChecked(f.manual);
  current_ = row;
  fill_fixed_times();
  update_notes();
}

edit_fields edit_dlg::read_fields() const {
  edit_fields f;
  f.name = field_of(name_);
  f.commence_date = field_of(commence_date_);
  f.commence_time = field_of(commence_time_);
  f.expiry_date = field_of(expiry_date_);
  f.expiry_time = field_of(expiry_time_);
  f.day_from = field_of(day_from_);
  f.day_to = field_of(day_to_);
  f.minutes = field_of(minutes_);
  f.script = {script_->toPlainText().toStdString(), script_->document()->isModified()};
  for (std::size_t d = 0; d < weekdays_.size(); ++d)
    if (weekdays_[d]->isChecked()) f.weekdays |= weekday_box_bits[d];
  f.every = every_->isChecked();
  f.sequence = sequence_->isChecked();
  f.chimes = chimes_->isChecked();
  f.confirm = confirm_->isChecked();
  f.manual = manual_->isChecked();
  return f;
}

void edit_dlg::store_edits() {
  const int index = current_index();
  if (index < 0) return;
  const edit_fields f = read_fields();
  ann_blk& a = st_.content.list[index];
  store_fields(a, f, st_.order);
  if (f.name.modified && list_->item(current_) != nullptr)
    list_->item(current_)->setText(shown(a.name_text()));
}

std::pair<std::int32_t, std::int32_t> edit_dlg::window_in_edits() const {
  const int index = current_index();
  if (index < 0) return {0, 0};
  const ann_blk& a = st_.content.list[index];
  auto typed = [](const QLineEdit* e, std::int32_t stored) {
    return e->isModified()
               ? parse_day_time(cut_at_character(e->text().toStdString(), field_edit_limit))
               : stored;
  };
  return {typed(day_from_, a.day_from), typed(day_to_, a.day_to)};
}

void edit_dlg::fill_fixed_times() {
  times_->clear();
  time_rows_.clear();
  const int index = current_index();
  if (index < 0) return;
  const auto [from, to] = window_in_edits();
  time_rows_ = fixed_time_rows(st_.content.list[index].fixed_times, from, to);
  for (const fixed_time_row& r : time_rows_) times_->addItem(QString::fromStdString(r.text));
  update_notes();
}

void edit_dlg::update_notes() {
  const int index = current_index();
  if (index < 0) return;
  const auto [from, to] = window_in_edits();
  std::uint8_t days = 0;
  for (std::size_t d = 0; d < weekdays_.size(); ++d)
    if (weekdays_[d]->isChecked()) days |= weekday_box_bits[d];
  const std::string note = schedule_note(days, from, to);
  schedule_note_->setText(QString::fromStdString(note));
  schedule_note_->setVisible(!note.empty());
  // The fixed times that the window as typed leaves out.
  const auto rows = fixed_time_rows(st_.content.list[index].fixed_times, from, to);
  const QString why = QString::fromStdString(fixed_time_note(from, to));
  for (int r = 0; r < times_->count() && r < static_cast<int>(rows.size()); ++r) {
    QListWidgetItem* item = times_->item(r);
    const bool plays = rows[static_cast<std::size_t>(r)].plays;
    item->setForeground(plays ? palette().color(QPalette::Text) : never_plays_colour);
    item->setToolTip(plays ? QString() : why);
  }
}

void edit_dlg::limit_script() {
  if (!script_->document()->isModified()) return;
  const std::string typed = script_->toPlainText().toStdString();
  const std::string kept = script_within_limit(typed);
  if (kept.size() == typed.size()) return;
  {
    const QSignalBlocker quiet(script_);
    script_->setPlainText(QString::fromStdString(kept));
    script_->moveCursor(QTextCursor::End);
    script_->document()->setModified(true);
  }
  script_note_->show();
}

void edit_dlg::audio_stopped() {
  meter_->set_level(level_meter_empty);
  control(ec_stop)->setEnabled(false);
  control(ec_play)->setFocus();
}

void edit_dlg::show_refusal(audio_refusal r) {
  const audio_message m = refusal_message(r);
  if (m.caption != nullptr && hooks_.box)
    hooks_.box(this, box_kind::ok_warning, QString::fromLatin1(m.caption),
               QString::fromLatin1(m.text));
}

void edit_dlg::record_over() {
  const audio_refusal r = audio_.record_over(selected_index());
  show_refusal(r);
  if (audio_.mode() == edit_audio_mode::recording) {
    control(ec_stop)->setEnabled(true);
    control(ec_stop)->setFocus();
  }
}

void edit_dlg::new_record() {
  audio_.stop();
  store_edits();
  const int index = new_user_announcement(st_, new_record_name(now()));
  if (index < 0) return;
  current_ = -1;  // stored already; the record shown may just have been reused
  build_list(index);
  record_over();
}

void edit_dlg::play() {
  const audio_refusal r = audio_.play(selected_index());
  show_refusal(r);
  if (audio_.mode() == edit_audio_mode::auditioning) {
    control(ec_stop)->setEnabled(true);
    control(ec_stop)->setFocus();
  }
}

void edit_dlg::stop() {
  audio_.stop();
}

void edit_dlg::new_wavs() {
  audio_.stop();
  const QStringList files = hooks_.choose_wavs ? hooks_.choose_wavs(this) : QStringList();
  if (files.isEmpty()) return;
  store_edits();
  // An import may reuse the placeholder on show: the controls let go of it first.
  int select = selected_index();
  current_ = -1;
  for (const QString& path : files) {
    const int index = import_wav_file(this, st_, path.toStdString(), devices_.decoders, hooks_.box);
    if (index < 0) continue;
    select = index;
    build_list(index);
  }
  if (current_ < 0) build_list(select);
}

void edit_dlg::delete_announcement() {
  audio_.stop();
  const int row = list_->currentRow();
  const int index = rows_.index(row);
  if (index < 0 || index >= st_.content.list.count()) return;
  if (st_.content.list[index].user_made == 0) {
    const box_answer a = hooks_.box ? hooks_.box(this, box_kind::ok_cancel_warning,
                                                 QString::fromLatin1(delete_caption),
                                                 QString::fromLatin1(delete_text))
                                    : box_answer::cancel;
    if (a != box_answer::ok) return;
  }
  // The edits go with the announcement.
  current_ = -1;
  const int above = row > 0 ? rows_.index(row - 1) : -1;
  if (index >= st_.content.list.count()) return;  // the question's loop may have changed the list
  remove_at(st_, index);
  build_list(above);
}

void edit_dlg::move_up() {
  move_by(-1);
}

void edit_dlg::move_down() {
  move_by(1);
}

void edit_dlg::move_by(int step) {
  const int p = current_;
  const int q = p + step;
  if (p < 0 || p >= rows_.count() || q < 0 || q >= rows_.count()) return;
  audio_.stop();
  if (!exchange_rows(st_.content.list, rows_, p, q)) return;
  // The two rows trade places; the controls go on showing the moved announcement.
  const QSignalBlocker quiet(list_);
  list_->insertItem(q, list_->takeItem(p));
  current_ = q;
  list_->setCurrentRow(current_);
}

void edit_dlg::add_fixed_time() {
  if (current_index() < 0) return;
  std::int32_t value = 0;
  if (!hooks_.enter_time(value, this)) return;
  const int index = current_index();  // read again: the dialog ran a loop of its own
  if (index < 0) return;
  zta::add_fixed_time(st_.content.list[index], value);
  fill_fixed_times();
}

void edit_dlg::edit_fixed_time() {
  int index = current_index();
  const int row = times_->currentRow();
  if (index < 0 || row < 0 || row >= static_cast<int>(time_rows_.size())) return;
  const std::size_t entry = time_rows_[static_cast<std::size_t>(row)].entry;
  const auto& times = st_.content.list[index].fixed_times;
  if (entry >= times.size()) return;
  std::int32_t value = times[entry];
  if (!hooks_.enter_time(value, this)) return;
  index = current_index();
  if (index < 0) return;
  replace_fixed_time(st_.content.list[index], entry, value);
  fill_fixed_times();
}

void edit_dlg::delete_fixed_time() {
  const int index = current_index();
  const int row = times_->currentRow();
  if (index < 0 || row < 0 || row >= static_cast<int>(time_rows_.size())) return;
  zta::delete_fixed_time(st_.content.list[index], time_rows_[static_cast<std::size_t>(row)].entry);
  fill_fixed_times();
}

void edit_dlg::click_every() {
  const int index = current_index();
  if (index < 0) return;
  ann_blk& a = st_.content.list[index];
  const autoplay_click c = zta::click_every(a, minutes_->text().toStdString());
  every_->setChecked(a.autoplay > 0);
  sequence_->setChecked(a.autoplay < 0);
  minutes_->setEnabled(a.autoplay > 0);
  if (c.fill_minutes) minutes_->setText(QString::number(default_every_minutes));
}

void edit_dlg::click_sequence() {
  const int index = current_index();
  if (index < 0) return;
  ann_blk& a = st_.content.list[index];
  zta::click_sequence(a);
  every_->setChecked(a.autoplay > 0);
  sequence_->setChecked(a.autoplay < 0);
  minutes_->setEnabled(a.autoplay > 0);
}

void edit_dlg::print_script() {
  print_scripts(this, script_rows(st_, rows_), hooks_.choose_printer);
}

void edit_dlg::done(int) {
  if (!closed_) {
    closed_ = true;
    store_edits();
    audio_.stop();  // a recording is processed (its dialog runs here)
  }
  QDialog::done(Accepted);
}

void edit_dlg::reject() {
  audio_.stop();
}

void edit_dlg::closeEvent(QCloseEvent* event) {
  done(Accepted);
  event->accept();
}

}  // namespace zta::ui
