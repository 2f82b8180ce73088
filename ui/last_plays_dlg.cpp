#include "ui/last_plays_dlg.hpp"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

#include "announcements/calendar.hpp"
#include "announcements/play_history.hpp"
#include "announcements/text_encoding.hpp"

namespace zta::ui {

const char last_plays_title[] = "Last plays";

std::string last_plays_row(std::int32_t when, bool played, const std::string& name,
                           const std::string& trigger, const std::string& reason) {
  const calendar_fields f = break_moment(when);
  char stamp[32];
  // The log has minutes only; the missed file has seconds.
  if (played) {
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d", f.year, f.month, f.day, f.hour,
                  f.minute);
  } else {
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day,
                  f.hour, f.minute, f.second);
  }
  std::string row = std::string(stamp) + "  ";
  if (played) return row + display_text(name) + "  played";
  if (trigger == note_device || trigger == note_clock) return row + display_text(reason);
  return row + display_text(name) + "  missed (" + trigger + "): " + reason;
}

last_plays_dlg::last_plays_dlg(std::string data_folder, std::function<std::int32_t()> now,
                               QWidget* parent)
    : QDialog(parent), folder_(std::move(data_folder)), now_(std::move(now)) {
  setWindowTitle(QString::fromLatin1(last_plays_title));
  auto* layout = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setMinimumSize(520, 300);
  layout->addWidget(list_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* again = buttons->addButton(QStringLiteral("&Refresh"), QDialogButtonBox::ActionRole);
  connect(again, &QPushButton::clicked, this, &last_plays_dlg::refresh);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  refresh();
}

void last_plays_dlg::refresh() {
  list_->clear();
  // Bounded: a month of plays every minute is some 45000 rows; the newest are the ones asked for.
  constexpr int max_rows = 5000;
  int rows = 0;
  for (const history_entry& e : month_history(folder_, now_ ? now_() : 0)) {
    if (rows++ >= max_rows) break;
    list_->addItem(
        QString::fromStdString(last_plays_row(e.when, e.played, e.name, e.trigger, e.reason)));
  }
}

}  // namespace zta::ui
