#include "ui/day_part_dlg.hpp"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "ui/help.hpp"

namespace zta::ui {

namespace {

using k = item_kind;
constexpr QSize dialog_size{342, 166};
const dialog_item items[] = {
    {day_rows, k::list, {6, 6, 150, 134}},
    {day_add, k::push, {6, 146, 72, 14}, "&Add"},
    {day_remove, k::push, {84, 146, 72, 14}, "Remove"},
    {-1, k::label, {164, 8, 84, 8}, "Time of Day &From:", day_from},
    {day_from, k::edit, {252, 6, 40, 12}},
    {-1, k::label, {164, 24, 84, 8}, "&To:", day_to},
    {day_to, k::edit, {252, 22, 40, 12}},
    {day_monday, k::check, {164, 40, 34, 10}, "Mon"},
    {day_monday + 1, k::check, {200, 40, 34, 10}, "Tue"},
    {day_monday + 2, k::check, {236, 40, 34, 10}, "Wed"},
    {day_monday + 3, k::check, {272, 40, 34, 10}, "Thu"},
    {day_monday + 4, k::check, {164, 52, 34, 10}, "Fri"},
    {day_monday + 5, k::check, {200, 52, 34, 10}, "Sat"},
    {day_monday + 6, k::check, {236, 52, 34, 10}, "Sun"},
    {day_master_up, k::push, {164, 70, 84, 14}, "Master Volume Up"},
    {day_master_down, k::push, {252, 70, 84, 14}, "Master Volume Down"},
    {day_announcements_up, k::push, {164, 86, 84, 14}, "Announcements Up"},
    {day_announcements_down, k::push, {252, 86, 84, 14}, "Announcements Down"},
    {day_music_up, k::push, {164, 102, 84, 14}, "Music Up"},
    {day_music_down, k::push, {252, 102, 84, 14}, "Music Down"},
    {day_mic_up, k::push, {164, 118, 84, 14}, "Page Mic Up"},
    {day_mic_down, k::push, {252, 118, 84, 14}, "Page Mic Down"},
    {day_help, k::push, {164, 146, 84, 14}, "&Help"},
    {day_ok, k::default_push, {252, 146, 84, 14}, "OK"},
};

struct step_button {
  int id;
  day_part_step step;
};
constexpr step_button step_buttons[] = {
    {day_master_up, day_part_step::master_up},
    {day_master_down, day_part_step::master_down},
    {day_announcements_up, day_part_step::announcements_up},
    {day_announcements_down, day_part_step::announcements_down},
    {day_music_up, day_part_step::music_up},
    {day_music_down, day_part_step::music_down},
    {day_mic_up, day_part_step::mic_up},
    {day_mic_down, day_part_step::mic_down},
};

QString row_text(const day_part_entry& e) {
  return QString::fromStdString(day_part_row_text(e));
}

}  // namespace

DayPartDlg::DayPartDlg(settings_block& settings, std::function<void(int)> help, QWidget* parent)
    : QDialog(parent), settings_(settings), help_(std::move(help)) {
  setWindowTitle(day_part_caption);
  setModal(true);
  controls_.build(*this, dialog_size, items);

  connect(rows(), &QListWidget::currentRowChanged, this, [this] { show_selected(); });
  connect(controls_.get<QPushButton>(day_add), &QPushButton::clicked, this, &DayPartDlg::add);
  connect(controls_.get<QPushButton>(day_remove), &QPushButton::clicked, this, &DayPartDlg::remove);
  for (int id : {day_from, day_to}) {
    connect(controls_.get<QLineEdit>(id), &QLineEdit::textChanged, this,
            [this, id] { time_changed(id); });
  }
  for (int box = 0; box < 7; ++box) {
    connect(controls_.get<QCheckBox>(day_monday + box), &QCheckBox::clicked, this,
            [this, box](bool checked) { weekday_clicked(box, checked); });
  }
  for (const step_button& b : step_buttons) {
    connect(controls_.get<QPushButton>(b.id), &QPushButton::clicked, this,
            [this, how = b.step] { step(how); });
  }
  connect(controls_.get<QPushButton>(day_help), &QPushButton::clicked, this, [this] {
    if (help_) help_(help_day_part);
  });
  connect(controls_.get<QPushButton>(day_ok), &QPushButton::clicked, this, &DayPartDlg::accept);

  clamp_day_part_count(settings_);
  {
    const QSignalBlocker quiet(rows());
    for (int i = 0; i < settings_.day_part_count; ++i)
      rows()->addItem(row_text(settings_.day_parts[static_cast<std::size_t>(i)]));
    if (settings_.day_part_count > 0) rows()->setCurrentRow(0);
  }
  show_selected();
}

QListWidget* DayPartDlg::rows() const {
  return controls_.get<QListWidget>(day_rows);
}

int DayPartDlg::selected() const {
  const int row = rows()->currentRow();
  return row >= 0 && row < settings_.day_part_count && row < rows()->count() ? row : -1;
}

void DayPartDlg::show_selected() {
  const int row = selected();
  const bool on = row >= 0;
  const day_part_entry* e = on ? &settings_.day_parts[static_cast<std::size_t>(row)] : nullptr;
  // Setting the edits' texts reads them back into the entry, which changes nothing.
  controls_.get<QLineEdit>(day_from)->setText(
      on ? QString::fromStdString(day_part_time_text(e->start)) : QString());
  controls_.get<QLineEdit>(day_to)->setText(on ? QString::fromStdString(day_part_time_text(e->end))
                                               : QString());
  for (int box = 0; box < 7; ++box) {
    auto* b = controls_.get<QCheckBox>(day_monday + box);
    b->setChecked(on && (e->weekdays & day_part_box_bits[static_cast<std::size_t>(box)]) != 0);
    b->setEnabled(on);
  }
  for (int id : {day_remove, day_from, day_to}) control(id)->setEnabled(on);
  for (const step_button& b : step_buttons) control(b.id)->setEnabled(on);
}

void DayPartDlg::rewrite_row(int row) {
  if (QListWidgetItem* item = rows()->item(row))
    item->setText(row_text(settings_.day_parts[static_cast<std::size_t>(row)]));
}

void DayPartDlg::add() {
  const int index = add_day_part(settings_);
  if (index < 0) return;
  {
    const QSignalBlocker quiet(rows());
    rows()->addItem(row_text(settings_.day_parts[static_cast<std::size_t>(index)]));
    rows()->setCurrentRow(index);
  }
  show_selected();
}

void DayPartDlg::remove() {
  const int row = selected();
  if (row < 0) return;
  const int next = remove_day_part(settings_, row);
  {
    const QSignalBlocker quiet(rows());
    delete rows()->takeItem(row);
    rows()->setCurrentRow(next);
  }
  show_selected();
}

void DayPartDlg::time_changed(int edit_id) {
  const int row = selected();
  if (row < 0) return;
  const QString text = controls_.get<QLineEdit>(edit_id)->text().left(18);
  day_part_entry& e = settings_.day_parts[static_cast<std::size_t>(row)];
  (edit_id == day_from ? e.start : e.end) = parse_day_part_time(text.toStdString());
  rewrite_row(row);
}

void DayPartDlg::weekday_clicked(int box, bool checked) {
  const int row = selected();
  if (row < 0) return;
  day_part_entry& e = settings_.day_parts[static_cast<std::size_t>(row)];
  const std::uint8_t bit = day_part_box_bits[static_cast<std::size_t>(box)];
  e.weekdays = static_cast<std::uint8_t>(checked ? e.weekdays | bit : e.weekdays & ~bit);
}

void DayPartDlg::step(day_part_step how) {
  const int row = selected();
  if (row < 0) return;
  step_day_part(settings_.day_parts[static_cast<std::size_t>(row)], how);
  rewrite_row(row);
}

}  // namespace zta::ui
