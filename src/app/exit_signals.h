// The end of the program that does not come through its exit button: a
// logout, a shutdown, Ctrl-C in a terminal or a closed terminal send SIGTERM,
// SIGINT or SIGHUP. A signal handler may do almost nothing, so it only writes
// the signal's number to a pipe; the event loop reads it and runs the
// program's own way out.
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace tarvelis {

class ExitSignals : public QObject {
 public:
  // `onSignal` runs in the event loop, once per signal received.
  explicit ExitSignals(std::function<void(int)> onSignal, QObject* parent = nullptr);
  ~ExitSignals() override;

 private:
  void Read();

  std::function<void(int)> onSignal_;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tarvelis
