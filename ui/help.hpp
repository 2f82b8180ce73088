#pragma once
// The user manual (docs/manual.html, installed beside the program) stands in for the help file:
// Help opens its contents, the dialogs open it at their context numbers.
#include <QString>
#include <QUrl>

namespace zta::ui {

inline constexpr int help_contents = 0;
inline constexpr int help_settings = 103;
inline constexpr int help_announcement_control = 104;
inline constexpr int help_day_part = 105;

// "manual.html#contents" for context 0, "#context-N" otherwise, as a file URL.
QUrl manual_url(const QString& manual_path, int context);
// Opens the manual in the desktop's browser; false when that fails.
bool open_manual(const QString& manual_path, int context);

}  // namespace zta::ui
