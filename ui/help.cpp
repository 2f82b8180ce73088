#include "ui/help.hpp"

#include <QDesktopServices>

namespace zta::ui {

QUrl manual_url(const QString& manual_path, int context) {
  QUrl url = QUrl::fromLocalFile(manual_path);
  url.setFragment(context == help_contents ? QStringLiteral("contents")
                                           : QStringLiteral("context-%1").arg(context));
  return url;
}

bool open_manual(const QString& manual_path, int context) {
  return QDesktopServices::openUrl(manual_url(manual_path, context));
}

}  // namespace zta::ui
