#pragma once
// Acting inside a modal dialog the program opens: the action is posted before the dialog runs
// and happens from inside the dialog's own event loop, as a user's clicks would.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

namespace zta::test {

// Runs `act` on the active modal dialog once it is a D; counts in `seen` how often it was.
template <typename D>
void when_open(int& seen, std::function<void(D&)> act) {
  QTimer::singleShot(0, [&seen, act = std::move(act)] {
    if (auto* d = qobject_cast<D*>(QApplication::activeModalWidget())) {
      ++seen;
      act(*d);
    }
  });
}

// A click as a user makes it: on a check box or radio button its indicator, else the middle.
inline void click(QWidget* w) {
  const bool indicator = qobject_cast<QAbstractButton*>(w) != nullptr &&
                         (qobject_cast<QCheckBox*>(w) != nullptr || w->inherits("QRadioButton"));
  QTest::mouseClick(w, Qt::LeftButton, {},
                    indicator ? QPoint(6, w->height() / 2) : w->rect().center());
}

inline void type_into(QWidget* w, const QString& text) {
  auto* edit = static_cast<QLineEdit*>(w);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

}  // namespace zta::test
