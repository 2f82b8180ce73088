#include "app/main_window.hpp"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstring>

#include "announcements/remote_folder.hpp"
#include "announcements/text_encoding.hpp"
#include "announcements/validity.hpp"
#include "app/loaddlg.hpp"
#include "app/run_mode.hpp"
#include "ui/edit_dlg.hpp"
#include "ui/glyph_button.hpp"
#include "ui/help.hpp"
#include "ui/logo_win.hpp"
#include "ui/main_window_controls.hpp"
#include "ui/mes_list.hpp"
#include "ui/my_glyph.hpp"
#include "ui/page_glyph.hpp"
#include "ui/resource_paths.hpp"
#include "ui/set_dlg.hpp"
#include "ui/tooltip.hpp"

namespace zta {

const char not_current_text[] =
    "The selected announcement is not current.\n\r\n\rTo change the announcement validity "
    "schedule, click on the Announcements button.";
const char not_current_caption[] = "Warning";
const char confirm_play_format[] = "Are you sure you want to play the announcement \"%1\".";
const char notice_caption[] = "Announcements Notice:";

namespace {

constexpr int dialog_units = ui::main_window_dialog_units.width();

QString shown(std::string_view bytes) {
  return QString::fromStdString(display_text(bytes));
}

}  // namespace

std::string find_manual(const std::string& program_folder) {
  QString base = QString::fromStdString(program_folder);
  for (const char* rel : {"manual.html", "docs/manual.html", "../docs/manual.html",
                          "../../docs/manual.html", "../../../docs/manual.html"}) {
    QFileInfo f(base + "/" + rel);
    if (f.isFile()) return f.canonicalFilePath().toStdString();
  }
  return {};
}

main_window::main_window(app_context& ctx, message_box_fn box, QWidget* parent)
    : QWidget(parent), player_front_end(this, ctx), box_(std::move(box)) {
  open_url = [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };
  locate_file = ui::locate_file_dialog;
  program_folder_ = ctx.st.data_folder;
  make_controls();
}

main_window::~main_window() {
  delete splash_;
}

QRect main_window::dialog_rect(int x, int y, int w, int h) const {
  return {x * base_x_ / 4, y * base_y_ / 8, w * base_x_ / 4, h * base_y_ / 8};
}

void main_window::make_controls() {
  ui::ensure_resources();
  // Dialog units from the font, as a dialog template is laid out.
  const QFontMetrics fm = fontMetrics();
  int avg =
      fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  base_x_ = (avg / 26 + 1) / 2;
  base_y_ = fm.height();
  setFixedSize(dialog_rect(0, 0, dialog_units, dialog_units).size());

  for (const ui::control_layout& c : ui::main_window_controls()) {
    const QRect at = ui::dialog_units_to_pixels(c.dialog_units, base_x_, base_y_);
    const QString text = QString::fromLatin1(c.text);
    QWidget* w = nullptr;
    switch (c.kind) {
      case ui::control_kind::group:
        w = new QGroupBox(text, this);
        break;
      case ui::control_kind::list:
        list_ = new ui::TMesList(this);
        list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        w = list_;
        break;
      case ui::control_kind::glyph_button:
        w = new ui::TMyGlyph(c.bitmap, text, this);
        break;
      case ui::control_kind::page_button:
        page_ = new ui::TPageGlyph(c.bitmap, text, this);
        w = page_;
        break;
      case ui::control_kind::script_text:
        script_ = new QLabel(this);
        script_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        script_->setTextFormat(Qt::PlainText);
        script_->setWordWrap(true);
        script_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = script_;
        break;
      case ui::control_kind::icon: {
        auto* icon = new QLabel(this);
        icon->setPixmap(ui::app_icon().pixmap(32, 32));
        w = icon;
        break;
      }
    }
    w->setGeometry(at);
    if (c.id >= 0) controls_[c.id] = w;
    // The keys are seen before the control that has the focus.
    w->installEventFilter(this);
  }
  installEventFilter(this);

  connect(list_, &QListWidget::currentRowChanged, this, [this] { show_script(); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { play_selected(); });
  connect(list_, &ui::TMesList::commandChosen, this, [this](int id) {
    switch (id) {
      case ui::cmd_play:
        play_selected();
        break;
      case ui::cmd_stop:
        stop();
        break;
      case ui::cmd_announcement_control:
        announcement_control();
        break;
      case ui::cmd_load:
        load();
        break;
      default:
        break;
    }
  });
  auto clicked = [this](int id, void (main_window::*command)()) {
    connect(static_cast<QPushButton*>(controls_[id]), &QPushButton::clicked, this,
            [this, command] { (this->*command)(); });
  };
  clicked(id_play, &main_window::play_selected);
  clicked(id_stop, &main_window::stop);
  clicked(id_load, &main_window::load);
  clicked(id_announcement_control, &main_window::announcement_control);
  clicked(id_settings, &main_window::settings);
  clicked(id_help, &main_window::help);
  clicked(id_close, &main_window::close_panel);
  static_cast<QPushButton*>(controls_[id_play])->setDefault(true);

  // Posted, as the page notifications are.
  connect(
      page_, &ui::TPageGlyph::pageStart, this, [this] { ctx_.player.page_start(); },
      Qt::QueuedConnection);
  connect(
      page_, &ui::TPageGlyph::pageStop, this, [this] { ctx_.player.page_stop(); },
      Qt::QueuedConnection);
}

QWidget* main_window::control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

int main_window::list_index(int position) const {
  if (position < 0 || position >= list_count_) return -1;
  const int index = list_map_[static_cast<std::size_t>(position)];
  // The list may have changed under the panel (a load in a nested loop) before the next refill.
  return index < ctx_.st.content.list.count() ? index : -1;
}

void main_window::set_up(const std::optional<std::string>& self_command) {
  setting_up_ = true;
  player_front_end::set_up(self_command, true);
  setting_up_ = false;
}

void main_window::timers_armed() {
  open_splash();
  tooltip_ = new ui::TTooltip(this);
  for (const ui::control_layout& c : ui::main_window_controls()) {
    if (c.id >= 0 && *c.tooltip != '\0')
      tooltip_->add_tool(controls_[c.id], QString::fromLatin1(c.tooltip));
  }
}

void main_window::fill_list() {
  QSignalBlocker quiet(list_);
  list_->clear();
  list_count_ = 0;
  const ablklist& list = ctx_.st.content.list;
  for (int i = 0; i < list.count() && list_count_ < static_cast<int>(list_map_.size()); ++i) {
    const ann_blk& a = list[i];
    if (a.clip < 0 || a.manual == 0) continue;
    list_map_[static_cast<std::size_t>(list_count_++)] = static_cast<std::int8_t>(i);
    list_->addItem(shown(a.name_text()));
  }
  if (list_count_ > 0) list_->setCurrentRow(0);
  show_script();
}

void main_window::show_script() {
  int index = list_index(list_->currentRow());
  script_->setText(index < 0 ? QString() : shown(ctx_.st.content.list[index].script));
  if (index < 0) {
    selected_.reset();
  } else {
    const ann_blk& a = ctx_.st.content.list[index];
    selected_ = selected_identity{a.id_stamp, a.id_serial, std::string(a.name_text())};
  }
}

void main_window::refill_list() {
  const std::optional<selected_identity> was = selected_;
  const int row = list_->currentRow();
  fill_list();
  int keep = -1;
  if (was) {
    for (int p = 0; p < list_count_; ++p) {
      const ann_blk& a = ctx_.st.content.list[list_map_[static_cast<std::size_t>(p)]];
      if (a.id_stamp != was->id_stamp || a.id_serial != was->id_serial) continue;
      if (keep < 0) keep = p;
      if (a.name_text() == was->name) {
        keep = p;
        break;
      }
    }
  }
  // An announcement that is gone: the same place, as far as the list still reaches.
  if (keep < 0 && row >= 0) keep = std::min(row, list_count_ - 1);
  if (keep >= 0) list_->setCurrentRow(keep);
  show_script();
  update();
}

void main_window::control_folder_refused(const std::string& why) {
  const QString text = QString::fromStdString(why);
  if (!setting_up_) {
    box(box_kind::ok_warning, QStringLiteral("Warning"), text);
    return;
  }
  // Posted: the set-up runs before the event loop does.
  QTimer::singleShot(0, this,
                     [this, text] { box(box_kind::ok_warning, QStringLiteral("Warning"), text); });
}

box_answer main_window::box(box_kind kind, const QString& caption, const QString& text) {
  return box_ ? box_(this, kind, caption, text) : box_answer::cancel;
}

void main_window::play_selected() {
  int index = list_index(list_->currentRow());
  if (index < 0 || index >= ctx_.st.content.list.count()) return;
  ann_blk& a = ctx_.st.content.list[index];
  if (!is_current(a, ctx_.st.clock)) {
    box(box_kind::ok_warning, not_current_caption, QString::fromLatin1(not_current_text));
    return;
  }
  if (a.confirm != 0 &&
      box(box_kind::yes_no_warning, not_current_caption,
          QString::fromLatin1(confirm_play_format).arg(shown(a.name_text()))) != box_answer::yes) {
    ctx_.player.missed().record(ctx_.st.clock.now, a.name_text(), play_trigger::manual,
                                missed_reason::confirm_declined);
    return;
  }
  ctx_.player.play_announcement(&a, play_trigger::manual);
}

void main_window::stop() {
  ctx_.player.stop(missed_reason::stopped_by_user);
}

void main_window::announcement_control() {
  if (editing_) return;
  const int index = list_index(list_->currentRow());
  ui::edit_devices devices;
  devices.record = ctx_.services.devices.in.get();
  devices.audition = ctx_.services.devices.audition.get();
  devices.decoders = ctx_.services.decoders.get();
  devices.clock = ctx_.services.clock.get();
  ui::edit_hooks hooks;
  hooks.box = box_;
  hooks.help = [this](int context) { help_at(context); };
  editing_ = true;
  {
    ui::edit_dlg dlg(ctx_.st, devices, std::move(hooks), index, this);
    dlg.exec();
  }
  editing_ = false;
  announcements_changed();
  if (pending_command_) {
    const std::optional<std::string> text = std::move(pending_command_);
    pending_command_.reset();
    open_command(text);
  }
}

bool main_window::run_automatic_update() {
  if (editing_) return false;
  return player_front_end::run_automatic_update();
}

void main_window::load() {
  ui::loadoptsdlg dlg(ctx_.st.load_opts,
                      {[this] { return run_one_load(); }, locate_file,
                       [this] { return ctx_.services.clock->local_now(); }},
                      this);
  dlg.exec();
  // The options are stored even when the dialog was cancelled.
  announcements_changed();
}

void main_window::settings() {
  ui::device_lists devices;
  const audio_devices& d = ctx_.services.devices;
  if (d.out) devices.wave_out = d.out->device_names();
  if (d.in) devices.wave_in = d.in->device_names();
  if (d.mixer) devices.mixer_lines = d.mixer->line_names();
  ui::SetDlg dlg(ctx_.st.settings, ctx_.st.content.owner, std::move(devices),
                 {ctx_.services.registry.get(), box_, [this](int context) { help_at(context); }},
                 this);
  dlg.exec();
  ctx_.remember_devices();
  // A page cannot outlive the dialog; the lines take the levels just set.
  ctx_.player.set_page_active(false);
  ctx_.player.apply_music_level();
  ctx_.player.apply_mic_level();
  ctx_.settings_dirty = true;
  apply_control_folder();
}

void main_window::help() {
  help_at(ui::help_contents);
}

void main_window::help_at(int context) {
  std::string path = find_manual(program_folder_);
  if (path.empty()) {
    box(box_kind::ok_warning, QStringLiteral("Help"),
        QStringLiteral("The manual (manual.html) was not found next to the program."));
    return;
  }
  if (open_url) open_url(ui::manual_url(QString::fromStdString(path), context).toString());
}

void main_window::close_panel() {
  if (tooltip_ != nullptr) tooltip_->hide();
  QTimer::singleShot(0, this, [this] { emit hideRequested(); });
}

void main_window::open_splash() {
  if (splash_) return;
  splash_ = new ui::logo_win(nullptr);
  splash_->setAttribute(Qt::WA_DeleteOnClose);
  splash_->show();
}

void main_window::close_splash() {
  if (splash_) splash_->close();
  splash_ = nullptr;
}

bool main_window::run_load() {
  // Over the dialog that asked for it (the Load dialog), else over the panel.
  QWidget* over = QApplication::activeModalWidget();
  loaddlg dlg(ctx_, box_, over != nullptr ? over : this);
  return dlg.exec() == 1;
}

void main_window::open_command(const std::optional<std::string>& text) {
  if (!text) {
    emit restoreRequested();
    return;
  }
  if (is_background_command(*text)) {
    if (!splash_) {
      open_splash();
      timers().arm(timer_splash, splash_handover_delay_ms);
    }
    emit hideRequested();
    return;
  }
  emit restoreRequested();
  if (editing_) {
    // A file load would change the list under the Announcement Control dialog's rows.
    pending_command_ = text;
    return;
  }
  load_command_file(*text);
}

void main_window::show_notice(const std::string& text) {
  box(box_kind::ok_information, notice_caption, shown(text));
}

bool main_window::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
    return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const bool press = event->type() == QEvent::KeyPress;
  switch (key->key()) {
    case Qt::Key_Space: {
      // Push-to-talk. A held key repeats the press (the page ignores it while active); the
      // releases the window system adds between repeats are not the key coming up.
      if (!press && key->isAutoRepeat()) return true;
      const QPointF at(page_->width() / 2.0, page_->height() / 2.0);
      QCoreApplication::postEvent(
          page_, new QMouseEvent(press ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, at,
                                 page_->mapToGlobal(at), Qt::LeftButton,
                                 press ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier));
      return true;
    }
    case Qt::Key_F1:
      if (press) help();
      return true;
    case Qt::Key_F9:
      if (press) play_selected();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (press) {
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button != nullptr && button != page_)
          button->click();
        else
          play_selected();
      }
      return true;
    case Qt::Key_Escape:
      if (press) stop();
      return true;
    default:
      return QWidget::eventFilter(watched, event);
  }
}

}  // namespace zta
