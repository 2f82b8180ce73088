#include "app/main_frame.hpp"

#include <QCloseEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

#include "app/single_instance.hpp"
#include "ui/last_plays_dlg.hpp"
#include "ui/resource_paths.hpp"

namespace zta {

const char confirm_close_caption[] = "Confirm Close";
const char confirm_close_text[] = "Do you want your automatic announcements to continue playing?";
const char simulated_sound_title[] = "ZTA Announcement Player (simulated sound)";

main_frame::main_frame(app_context& ctx, message_box_fn box, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), box_(box) {
  setWindowTitle(QString::fromLatin1(frame_title));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  ui::ensure_resources();
  setWindowIcon(ui::app_icon());
  client_ = new main_window(ctx, std::move(box), this);
  setCentralWidget(client_);
  setFixedSize(client_->size());
  connect(client_, &main_window::hideRequested, this, &main_frame::hide_to_tray);
  connect(client_, &main_window::restoreRequested, this, &main_frame::restore);

  tray_ = new QSystemTrayIcon(ui::app_icon(), this);
  tray_->setToolTip(QString::fromLatin1(frame_title));
  connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
    if (r == QSystemTrayIcon::Trigger) restore();
  });
  auto* menu = new QMenu(this);
  menu->addAction(QStringLiteral("&Open"), this, &main_frame::restore);
  menu->addAction(QString::fromLatin1(ui::last_plays_title), this, &main_frame::show_last_plays);
  tray_->setContextMenu(menu);
  tray_->show();

  // A stand-in for a missing sound card stays visible: nothing would be heard.
  const std::string& notice = ctx.services.devices.notice;
  if (!notice.empty()) {
    setWindowTitle(QString::fromLatin1(simulated_sound_title));
    tray_->setToolTip(QString::fromLatin1(frame_title) + '\n' + QString::fromStdString(notice));
    if (tray_available())
      tray_->showMessage(QString::fromLatin1(simulated_sound_title), QString::fromStdString(notice),
                         QSystemTrayIcon::Warning);
  }
}

main_frame::~main_frame() {
  delete last_plays_;
  if (tray_ != nullptr) tray_->hide();
}

bool main_frame::tray_available() const {
  return QSystemTrayIcon::isSystemTrayAvailable();
}

void main_frame::show_last_plays() {
  if (!last_plays_) {
    auto* dlg = new ui::last_plays_dlg(ctx_.st.data_folder,
                                       [this] { return ctx_.services.clock->local_now(); });
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    last_plays_ = dlg;
  }
  last_plays_->show();
  last_plays_->raise();
  last_plays_->activateWindow();
}

void main_frame::hide_to_tray() {
  // Without a notification area a hidden window could not be reached again.
  if (tray_available())
    hide();
  else
    showMinimized();
}

void main_frame::restore() {
  showNormal();
  raise();
  activateWindow();
}

void main_frame::handover(const std::optional<std::string>& text) {
  // Re-adding the icon brings it back when the notification area lost it.
  tray_->hide();
  tray_->show();
  QTimer::singleShot(0, client_, [this, t = text] { client_->open_command(t); });
  confirm_close = true;
}

void main_frame::quit_without_asking() {
  confirm_close = false;
  quit_reason_ = frame_end::quit_request;
  // A close asked for while the box is open would wait for its answer: end from here instead.
  if (asking_) {
    end_now(quit_reason_);
    return;
  }
  QTimer::singleShot(0, this, [this] { close(); });
}

void main_frame::session_ending() {
  confirm_close = false;
  quit_reason_ = frame_end::session_end;
  if (asking_) end_now(quit_reason_);
}

void main_frame::end_now(frame_end why) {
  if (ended_) return;
  end_reason_ = why;
  if (ctx_.dirty()) ctx_.save();
  tray_->hide();
  ended_ = true;
  emit ended();  // the program ends its loops, the box's too
}

void main_frame::closeEvent(QCloseEvent* event) {
  if (ended_) {
    event->accept();
    return;
  }
  if (confirm_close) {
    asking_ = true;
    const box_answer answer = box_ ? box_(this, box_kind::yes_no_cancel_question,
                                          confirm_close_caption, confirm_close_text)
                                   : box_answer::cancel;
    asking_ = false;
    if (ended_) {  // a quit request or the session's end came while the box was open
      event->accept();
      return;
    }
    switch (answer) {
      case box_answer::yes:
        event->ignore();
        QTimer::singleShot(0, this, [this] { hide_to_tray(); });
        return;
      case box_answer::no:
        event->accept();
        end_now(frame_end::user_closed);
        return;
      default:
        event->ignore();
        return;
    }
  }
  event->accept();
  end_now(quit_reason_);
}

}  // namespace zta
