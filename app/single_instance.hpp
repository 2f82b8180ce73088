#pragma once
// One running player per user: the first copy listens on a local socket in the abstract
// namespace (nothing is left behind after a crash), named after the window title and the uid.
// A later copy connects first and only listens when nobody answers.
//
// Protocol, one connection per hand-over: the server greets with "ZTA1 desktop\n" or
// "ZTA1 headless\n"; the client sends "OPEN\n" (only bring the window to the front) or
// "TEXT <n>\n" followed by n bytes of command text, answered by "OK\n"; or, to a headless copy,
// "YIELD\n": the headless copy saves, stops listening, answers "BYE\n" and ends, and the client
// becomes the player.
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

namespace zta {

inline constexpr char frame_title[] = "ZTA Announcement Player";

// The server name for this user (and runtime folder, when it is not the usual one).
QString instance_server_name();
QString instance_server_name_for(const QByteArray& runtime_folder);

enum class contact_result {
  nobody,        // no copy listens: become the player
  delivered,     // the running copy took the command text: end
  peer_yielded,  // the headless copy ended for us: become the player
  no_answer,     // something listens but did not answer in time: become the player
};

// Contacts a running copy. A desktop copy (`take_over_headless`) asks a headless one to yield
// instead of handing it the text.
contact_result contact_running_copy(const QString& name, const std::optional<std::string>& text,
                                    bool take_over_headless, int timeout_ms = 3000);

class instance_server;

enum class claim_result {
  player,       // this copy listens now: it is the player
  handed_over,  // the running copy took the command text: end
  name_taken,   // a copy holds the name but does not answer: end, never a second player
};

// Contacts a running copy and, when none takes the text, listens; tries `attempts` times (a copy
// may be starting or ending at the same moment).
claim_result claim_instance(instance_server& server, const QString& name,
                            const std::optional<std::string>& text, bool take_over_headless,
                            int attempts = 3, int timeout_ms = 3000);
// What the user is told when the name stays taken.
extern const char name_taken_text[];

class instance_server : public QObject {
  Q_OBJECT
 public:
  explicit instance_server(bool headless, QObject* parent = nullptr);

  // Listens in the abstract namespace; false when the name is taken.
  bool listen(const QString& name);
  // Listens, retrying for a while (a copy that just yielded may still hold the name).
  bool listen_retrying(const QString& name, int total_ms);
  void close() { server_.close(); }
  bool is_listening() const { return server_.isListening(); }

  // A command text from another copy (none: just bring the window to the front), delivered
  // queued, never from inside the socket's handler.
  std::function<void(std::optional<std::string> text)> on_handover;
  // A desktop copy wants to take over (headless only): save now; the process should end after.
  std::function<void()> on_yield;

 private:
  void accept();

  QLocalServer server_;
  bool headless_;
};

}  // namespace zta
