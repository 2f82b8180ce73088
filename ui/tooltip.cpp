#include "ui/tooltip.hpp"

#include <QToolTip>
#include <QWidget>

namespace zta::ui {

TTooltip::TTooltip(QWidget* window) : QObject(window) {
  window->window()->setAttribute(Qt::WA_AlwaysShowToolTips);
}

void TTooltip::add_tool(QWidget* control, const QString& text) {
  control->setToolTip(text);
  ++count_;
}

void TTooltip::hide() {
  QToolTip::hideText();
}

}  // namespace zta::ui
