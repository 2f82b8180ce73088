#include "app/install_window.hpp"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "install/install_texts.hpp"
#include "ui/progbar.hpp"
#include "ui/resource_paths.hpp"

namespace zta {

namespace {

constexpr int progbar_id = 101;
constexpr int stop_id = 102;

bool start_detached(const std::string& program, const std::string& argument,
                    const std::string& folder) {
  return QProcess::startDetached(QString::fromStdString(program),
                                 {QString::fromStdString(argument)},
                                 QString::fromStdString(folder));
}

void set_up_frame(QWidget* frame, inst_dlg* client, const char* title) {
  ui::ensure_resources();
  frame->setWindowTitle(QString::fromUtf8(title));
  frame->setWindowIcon(ui::app_icon());
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(client);
}

}  // namespace

inst_dlg::inst_dlg(QWidget* parent) : QWidget(parent) {
  ui::ensure_resources();
  auto* icon = new QLabel(this);
  icon->setPixmap(ui::app_icon().pixmap(32, 32));
  auto* text = new QLabel(QString::fromUtf8(install_dialog_text), this);
  auto* frame = new QFrame(this);
  frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  frame->setLineWidth(1);
  bar_ = new ui::progbar(frame);
  bar_->setObjectName(QStringLiteral("progbar_%1").arg(progbar_id));
  bar_->setFixedHeight(16);
  auto* frame_layout = new QHBoxLayout(frame);
  frame_layout->setContentsMargins(1, 1, 1, 1);
  frame_layout->addWidget(bar_);
  stop_ = new QPushButton(QString::fromUtf8(install_stop_text), this);
  stop_->setObjectName(QStringLiteral("button_%1").arg(stop_id));

  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addWidget(text, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(stop_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(frame);
  layout->addLayout(bottom);
  setMinimumWidth(320);
}

install_window::install_window(message_box_fn box, program_starter start, QWidget* parent)
    : QWidget(parent),
      box_(std::move(box)),
      start_(start ? std::move(start) : program_starter(start_detached)),
      client_(new inst_dlg(this)) {
  set_up_frame(this, client_, install_window_title);
  connect(client_->stop_button(), &QPushButton::clicked, this, &QWidget::close);
}

void install_window::run(installer& inst) {
  inst_ = &inst;
  // The set-up runs once the window is on the screen, as a dialog's set-up would.
  QTimer::singleShot(0, this, [this] {
    if (ended_) return;
    if (inst_->begin())
      next_step();
    else
      close();
  });
}

void install_window::next_step() {
  // One step per idle turn. The next is asked for only after this one returned, so a message
  // box opened inside a step (its own event loop) never runs a step within a step.
  QTimer::singleShot(0, this, [this] {
    if (ended_) return;
    if (inst_->step())
      next_step();
    else
      close();
  });
}

void install_window::show_progress(int percent) {
  client_->bar()->set_percent(percent);
}

void install_window::report_corrupt_setup_file() {
  if (box_)
    box_(this, box_kind::ok_warning, QString::fromUtf8(corrupt_setup_caption),
         QString::fromUtf8(corrupt_setup_text));
}

void install_window::report_failure(const std::string& text) {
  if (box_)
    box_(this, box_kind::ok_warning, QString::fromUtf8(install_failed_caption),
         QString::fromStdString(text));
}

bool install_window::start_program(const std::string& program, const std::string& argument,
                                   const std::string& folder) {
  return start_(program, argument, folder);
}

void install_window::closeEvent(QCloseEvent* event) {
  event->accept();
  if (ended_) return;
  ended_ = true;
  emit ended();
}

uninstall_window::uninstall_window(message_box_fn box, std::function<void()> remove,
                                   QWidget* parent)
    : QWidget(parent),
      box_(std::move(box)),
      remove_(std::move(remove)),
      client_(new inst_dlg(this)) {
  set_up_frame(this, client_, uninstall_window_title);
  connect(client_->stop_button(), &QPushButton::clicked, this, &QWidget::close);
}

void uninstall_window::run() {
  QTimer::singleShot(0, this, [this] {
    if (ended_) return;
    const box_answer a =
        box_ ? box_(this, box_kind::yes_no_warning, QString::fromUtf8(confirm_uninstall_caption),
                    QString::fromUtf8(confirm_uninstall_text))
             : box_answer::no;
    if (a == box_answer::yes && !ended_) {
      remove_();
      removed_ = true;
    }
    close();
  });
}

void uninstall_window::closeEvent(QCloseEvent* event) {
  event->accept();
  if (ended_) return;
  ended_ = true;
  emit ended();
}

}  // namespace zta
