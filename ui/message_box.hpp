#pragma once
// The program's message boxes, behind one replaceable function so tests can answer them without
// a modal loop.
#include <QString>
#include <functional>

class QWidget;

namespace zta {

enum class box_kind {
  ok_plain,               // OK, no icon
  ok_information,         // OK, information icon
  ok_warning,             // OK, exclamation icon
  ok_cancel_warning,      // OK / Cancel, exclamation icon
  yes_no_warning,         // Yes / No, exclamation icon
  yes_no_cancel_question  // Yes / No / Cancel, question icon
};
enum class box_answer { ok, yes, no, cancel };

using message_box_fn = std::function<box_answer(QWidget* owner, box_kind kind,
                                                const QString& caption, const QString& text)>;

// Modal QMessageBox; any line end in the text (LF CR, CR LF, CR) starts a new line.
box_answer show_message_box(QWidget* owner, box_kind kind, const QString& caption,
                            const QString& text);

}  // namespace zta
