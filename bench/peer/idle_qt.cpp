// The idle peer: a Qt Widgets program with two 500 ms timers and nothing else, what an idle
// player cannot cost less than.
#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int ticks = 0;
  QTimer a, b;
  QObject::connect(&a, &QTimer::timeout, [&ticks] { ++ticks; });
  QObject::connect(&b, &QTimer::timeout, [&ticks] { ++ticks; });
  a.start(500);
  b.start(500);
  return QApplication::exec();
}
