#pragma once
// Acting on a modal dialog from inside its own loop: once a dialog of type T is the active modal
// widget, `act` runs on it (to type, press OK or Cancel). Gives up after a few seconds.
#include <QApplication>
#include <QTimer>
#include <functional>

namespace zta::test {

template <class T>
void when_modal(std::function<void(T&)> act, int tries = 500) {
  QTimer::singleShot(tries == 500 ? 0 : 10, [act = std::move(act), tries]() mutable {
    if (auto* dlg = qobject_cast<T*>(QApplication::activeModalWidget())) {
      act(*dlg);
    } else if (tries > 0) {
      when_modal<T>(std::move(act), tries - 1);
    }
  });
}

}  // namespace zta::test
