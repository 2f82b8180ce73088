#pragma once
// loadwav_dlg: the progress dialog of one WAV import ("Load Announcements"). The import reads the
// file one piece per idle turn, then its processing runs in the "Process for Telephone" dialog
// over this one; "Cancel" ends the import at once. The status line names the file.
#include <QDialog>
#include <QTimer>
#include <string>

#include "announcements/station.hpp"
#include "audio/import_wav.hpp"
#include "ui/message_box.hpp"

class QLabel;
class QPushButton;

namespace zta::ui {

inline constexpr char loadwav_caption[] = "Load Announcements";

class loadwav_dlg : public QDialog {
  Q_OBJECT
 public:
  // Adds the new announcement (named after the file) at once, as the import does.
  loadwav_dlg(station& st, const std::string& path, pcm_decoder_factory* decoders,
              message_box_fn box, QWidget* parent = nullptr);

  // The new announcement's index once the import succeeded, else -1.
  int result_index() const { return job_.result(); }
  import_failure failure() const { return job_.failure(); }
  QLabel* status_label() const { return status_; }
  QPushButton* cancel_button() const { return cancel_; }

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void step();

  import_wav_job job_;
  QTimer idle_;
  QLabel* status_;
  QPushButton* cancel_;
};

// Imports one file through the dialog; the index of the new announcement, or -1.
int import_wav_file(QWidget* owner, station& st, const std::string& path,
                    pcm_decoder_factory* decoders, const message_box_fn& box);

}  // namespace zta::ui
