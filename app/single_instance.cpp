#include "app/single_instance.hpp"

#include <unistd.h>

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

namespace zta {

namespace {

constexpr int max_text_bytes = 4096;

// Reads one "\n"-ended line within the time left; empty when none came.
QByteArray read_line(QLocalSocket& s, QElapsedTimer& clock, int timeout_ms) {
  while (!s.canReadLine()) {
    int left = timeout_ms - static_cast<int>(clock.elapsed());
    if (left <= 0 || !s.waitForReadyRead(left)) {
      if (!s.canReadLine()) return {};
    }
  }
  return s.readLine().trimmed();
}

}  // namespace

const char name_taken_text[] =
    "Another ZTA Announcement Player is running but does not answer, so this copy ends. Two "
    "players would play every announcement twice.";

claim_result claim_instance(instance_server& server, const QString& name,
                            const std::optional<std::string>& text, bool take_over_headless,
                            int attempts, int timeout_ms) {
  for (int i = 0; i < attempts; ++i) {
    if (i > 0) QThread::msleep(250UL * static_cast<unsigned long>(i));
    switch (contact_running_copy(name, text, take_over_headless, timeout_ms)) {
      case contact_result::delivered:
        return claim_result::handed_over;
      case contact_result::peer_yielded:
        if (server.listen_retrying(name, 5000)) return claim_result::player;
        break;
      case contact_result::nobody:
      case contact_result::no_answer:
        if (server.listen(name)) return claim_result::player;
        break;
    }
  }
  return claim_result::name_taken;
}

QString instance_server_name() {
  return instance_server_name_for(qgetenv("XDG_RUNTIME_DIR"));
}

QString instance_server_name_for(const QByteArray& runtime) {
  QString name = QStringLiteral("%1.%2").arg(QString::fromLatin1(frame_title)).arg(::getuid());
  // A session with a runtime folder of its own (a test, a separate seat) gets its own player.
  if (!runtime.isEmpty() && runtime != "/run/user/" + QByteArray::number(::getuid()))
    name += "." + QCryptographicHash::hash(runtime, QCryptographicHash::Sha1).toHex().left(12);
  return name;
}

contact_result contact_running_copy(const QString& name, const std::optional<std::string>& text,
                                    bool take_over_headless, int timeout_ms) {
  QLocalSocket s;
  s.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
  s.connectToServer(name);
  if (!s.waitForConnected(timeout_ms)) return contact_result::nobody;
  QElapsedTimer clock;
  clock.start();
  QByteArray hello = read_line(s, clock, timeout_ms);
  if (!hello.startsWith("ZTA1 ")) return contact_result::no_answer;
  if (take_over_headless && hello == "ZTA1 headless") {
    s.write("YIELD\n");
    s.flush();
    // The headless copy saves before it answers; give it time.
    clock.restart();
    QByteArray bye = read_line(s, clock, 4 * timeout_ms);
    return bye == "BYE" || s.state() != QLocalSocket::ConnectedState ? contact_result::peer_yielded
                                                                     : contact_result::no_answer;
  }
  if (text) {
    std::string t = text->substr(0, max_text_bytes);
    s.write("TEXT " + QByteArray::number(static_cast<int>(t.size())) + "\n");
    s.write(t.data(), static_cast<qint64>(t.size()));
  } else {
    s.write("OPEN\n");
  }
  s.flush();
  return read_line(s, clock, timeout_ms) == "OK" ? contact_result::delivered
                                                 : contact_result::no_answer;
}

instance_server::instance_server(bool headless, QObject* parent)
    : QObject(parent), headless_(headless) {
  server_.setSocketOptions(QLocalServer::AbstractNamespaceOption);
  connect(&server_, &QLocalServer::newConnection, this, &instance_server::accept);
}

bool instance_server::listen(const QString& name) {
  return server_.listen(name);
}

bool instance_server::listen_retrying(const QString& name, int total_ms) {
  QElapsedTimer clock;
  clock.start();
  while (!listen(name)) {
    if (clock.elapsed() >= total_ms) return false;
    QThread::msleep(50);
  }
  return true;
}

void instance_server::accept() {
  while (QLocalSocket* s = server_.nextPendingConnection()) {
    connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
    s->write(headless_ ? "ZTA1 headless\n" : "ZTA1 desktop\n");
    s->flush();
    // A client that says nothing useful is dropped after a while.
    QTimer::singleShot(10000, s, [s] { s->disconnectFromServer(); });
    connect(s, &QLocalSocket::readyRead, this, [this, s] {
      QByteArray buffered = s->peek(s->bytesAvailable());
      int eol = buffered.indexOf('\n');
      if (eol < 0) {
        if (buffered.size() > 64) s->disconnectFromServer();
        return;
      }
      QByteArray line = buffered.left(eol);
      if (line == "OPEN") {
        s->read(eol + 1);
        s->write("OK\n");
        s->flush();
        QTimer::singleShot(0, this, [this] {
          if (on_handover) on_handover(std::nullopt);
        });
      } else if (line.startsWith("TEXT ")) {
        bool ok = false;
        int n = line.mid(5).toInt(&ok);
        if (!ok || n < 0 || n > max_text_bytes) {
          s->disconnectFromServer();
          return;
        }
        if (buffered.size() < eol + 1 + n) return;  // wait for the rest
        s->read(eol + 1);
        QByteArray body = s->read(n);
        s->write("OK\n");
        s->flush();
        std::string text(body.constData(), static_cast<std::size_t>(body.size()));
        QTimer::singleShot(0, this, [this, text] {
          if (on_handover) on_handover(text);
        });
      } else if (line == "YIELD" && headless_) {
        s->read(eol + 1);
        if (on_yield) on_yield();
        server_.close();
        s->write("BYE\n");
        s->flush();
        s->waitForBytesWritten(1000);
      } else {
        s->disconnectFromServer();
      }
    });
  }
}

}  // namespace zta
