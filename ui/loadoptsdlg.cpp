#include "ui/loadoptsdlg.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "announcements/text_encoding.hpp"
#include "base/byte_codec.hpp"
#include "loading/load_options_edit.hpp"

namespace zta::ui {

namespace {

using k = item_kind;
constexpr QSize dialog_size{260, 130};
const dialog_item items[] = {
    {-1, k::group, {6, 4, 248, 100}, "Load Method"},
    {load_disk, k::radio, {12, 16, 60, 10}, "&Disk"},
    {load_drive, k::combo, {80, 15, 50, 12}},
    {load_file, k::radio, {12, 32, 236, 10}, "ANN, VRX or WAV &File (Downloaded or on CD)"},
    {load_path, k::edit, {24, 44, 170, 12}},
    {load_browse, k::push, {198, 43, 50, 14}, "&Browse"},
    {load_ftp, k::radio, {12, 62, 236, 10}, "&Online Internet FTP Update"},
    {load_server, k::edit, {24, 74, 224, 12}},
    {load_daily, k::check, {24, 88, 224, 10}, "Automatic Daily Login and Update Check"},
    {load_now, k::default_push, {94, 110, 76, 14}, "&Load Now"},
    {load_cancel, k::push, {178, 110, 76, 14}, "Cancel"},
};

QString shown(std::string_view bytes) {
  return QString::fromStdString(display_text(bytes));
}

}  // namespace

std::optional<std::string> locate_file_dialog(QWidget* parent, const std::string& current_path) {
  const locate_start start = locate_file_start(current_path, QDir::currentPath().toStdString());
  QString at = QString::fromStdString(start.folder);
  if (!start.file_name.empty()) at = QDir(at).filePath(QString::fromStdString(start.file_name));
  const QString chosen =
      QFileDialog::getOpenFileName(parent, QString::fromLatin1(locate_file_caption), at,
                                   QString::fromLatin1(locate_file_filter));
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

loadoptsdlg::loadoptsdlg(load_options& options, links with, QWidget* parent)
    : QDialog(parent), options_(options), links_(std::move(with)) {
  setWindowTitle(load_options_caption);
  setModal(true);
  controls_.build(*this, dialog_size, items);

  auto* drive = controls_.get<QComboBox>(load_drive);
  drive->addItems({QStringLiteral("[-a-]"), QStringLiteral("[-b-]")});
  drive->setCurrentIndex(options_.drive == 1 ? 1 : 0);
  controls_.get<QLineEdit>(load_path)->setText(shown(field_text(options_.file_path)));
  controls_.get<QLineEdit>(load_server)->setText(shown(field_text(options_.ftp_server)));
  controls_.get<QCheckBox>(load_daily)->setChecked(daily_check_ticked(options_));
  const int radio = options_.method == load_method::file  ? load_file
                    : options_.method == load_method::ftp ? load_ftp
                                                          : load_disk;
  controls_.get<QRadioButton>(radio)->setChecked(true);
  for (int id : {load_disk, load_file, load_ftp}) {
    connect(controls_.get<QRadioButton>(id), &QRadioButton::toggled, this,
            &loadoptsdlg::method_chosen);
  }
  method_chosen();

  connect(controls_.get<QPushButton>(load_now), &QPushButton::clicked, this,
          &loadoptsdlg::load_now_clicked);
  connect(controls_.get<QPushButton>(load_cancel), &QPushButton::clicked, this,
          &loadoptsdlg::reject);
  connect(controls_.get<QPushButton>(load_browse), &QPushButton::clicked, this,
          &loadoptsdlg::browse);
}

load_method loadoptsdlg::chosen_method() const {
  if (controls_.get<QRadioButton>(load_file)->isChecked()) return load_method::file;
  if (controls_.get<QRadioButton>(load_ftp)->isChecked()) return load_method::ftp;
  return load_method::disk;
}

void loadoptsdlg::method_chosen() {
  const load_method_controls on = enabled_controls(chosen_method());
  control(load_drive)->setEnabled(on.drive);
  control(load_path)->setEnabled(on.path);
  control(load_browse)->setEnabled(on.path);
  control(load_server)->setEnabled(on.server);
  control(load_daily)->setEnabled(on.daily);
}

void loadoptsdlg::store() {
  load_dialog_state state;
  state.method = chosen_method();
  state.drive = controls_.get<QComboBox>(load_drive)->currentIndex();
  // Only what the user typed is read back; a field set by the dialog keeps the stored bytes.
  auto* path = controls_.get<QLineEdit>(load_path);
  if (path->isModified()) state.path = path->text().toStdString();
  auto* server = controls_.get<QLineEdit>(load_server);
  if (server->isModified()) state.server = server->text().toStdString();
  state.daily = controls_.get<QCheckBox>(load_daily)->isChecked();
  store_load_dialog(options_, state, links_.now ? links_.now() : 0);
  path->setModified(false);
  server->setModified(false);
}

void loadoptsdlg::reject() {
  store();
  QDialog::reject();
}

void loadoptsdlg::load_now_clicked() {
  store();
  for (;;) {
    if (links_.run_load && links_.run_load()) {
      QDialog::reject();  // the same result as Cancel: the caller does not tell them apart
      return;
    }
    if (options_.method != load_method::file || !locate()) return;
  }
}

void loadoptsdlg::browse() {
  if (locate()) load_now_clicked();
}

bool loadoptsdlg::locate() {
  if (!links_.locate_file) return false;
  const std::optional<std::string> chosen =
      links_.locate_file(this, std::string(field_text(options_.file_path)));
  if (!chosen || chosen->empty()) return false;
  store_located_path(options_, *chosen);
  auto* path = controls_.get<QLineEdit>(load_path);
  path->setText(shown(field_text(options_.file_path)));
  path->setModified(false);
  return true;
}

}  // namespace zta::ui
