#pragma once
// Telling the service manager how the player that runs as a service is doing: ready once it is set
// up, alive from the scheduler's timer (the manager's watchdog restarts a player whose main thread
// hangs), stopping when it ends by itself.
//
// Called on the main thread only. Nothing here blocks or fails loudly: a player that cannot reach
// the manager plays on. A player that was not started by a service manager sends nothing.
namespace zta {

class service_notifier {
 public:
  virtual ~service_notifier() = default;

  // Once, when the player is set up and its timers run.
  virtual void ready() = 0;
  // At every schedule tick; the backend may send fewer pings than it is called.
  virtual void alive() = 0;
  // When the player ends without being told to by the manager (it hands over to another copy).
  virtual void stopping() = 0;
};

// For tests and for whatever runs without a service manager.
class null_service_notifier final : public service_notifier {
 public:
  void ready() override {}
  void alive() override {}
  void stopping() override {}
};

}  // namespace zta
