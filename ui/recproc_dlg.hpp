#pragma once
// recproc_dlg: "Process for Telephone". It runs the processing of one recording or import, one
// block per idle turn so "Cancel" stays live, after showing the "Record Level Warning" that the
// processing raised (the processing goes on afterwards). It ends accepted when a clip was made.
#include <QDialog>
#include <QTimer>
#include <cstdint>

#include "announcements/station.hpp"
#include "audio/recproc.hpp"
#include "audio/rectmp.hpp"
#include "ui/message_box.hpp"

class QPushButton;

namespace zta::ui {

inline constexpr char recproc_caption[] = "Process for Telephone";
inline constexpr char recproc_text[] = "Processing Audio.  Please wait....";

class recproc_dlg : public QDialog {
  Q_OBJECT
 public:
  // `clip` and `id_serial` get -1 and 0 at once, the new clip and its length on success.
  recproc_dlg(station& st, rectmp& source, std::int16_t& clip, std::int32_t& id_serial,
              message_box_fn box, QWidget* parent = nullptr);

  recproc_failure failure() const { return job_.failure(); }
  QPushButton* cancel_button() const { return cancel_; }

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void begin();
  void step();

  recproc job_;
  message_box_fn box_;
  QTimer idle_;
  QPushButton* cancel_;
  bool begun_ = false;
};

// Runs the dialog modally over `owner`: how the program turns a recording into a clip.
recproc_failure process_recording(QWidget* owner, station& st, rectmp& source, std::int16_t& clip,
                                  std::int32_t& id_serial, const message_box_fn& box);
// The same as a recording_processor for the recording and import jobs.
recording_processor dialog_processor(QWidget* owner, station& st, message_box_fn box);

}  // namespace zta::ui
