// The event loop of the server and the bots: Qt's own loop on Linux (poll)
// hands the kernel every socket each time round and then walks them all, so
// with four thousand connections most of a move's processor time went to
// sockets with nothing to say. This one keeps the sockets in an epoll set and
// wakes only for those that are ready; the timers sit in an ordered index.
// Everything above it (QWebSocket, QWebSocketServer, TLS, QTimer) is Qt's.
//
// Install it before the application object: QCoreApplication::setEventDispatcher.
#pragma once

#include <QAbstractEventDispatcher>
#include <atomic>
#include <cstdint>
#include <map>
#include <set>
#include <unordered_map>
#include <utility>

namespace tarvelis::server {

class EpollDispatcher : public QAbstractEventDispatcher {
 public:
  EpollDispatcher();
  ~EpollDispatcher() override;

  bool processEvents(QEventLoop::ProcessEventsFlags flags) override;

  void registerSocketNotifier(QSocketNotifier* notifier) override;
  void unregisterSocketNotifier(QSocketNotifier* notifier) override;

  void registerTimer(int timerId, qint64 interval, Qt::TimerType timerType,
                     QObject* object) override;
  bool unregisterTimer(int timerId) override;
  bool unregisterTimers(QObject* object) override;
  QList<TimerInfo> registeredTimers(QObject* object) const override;
  int remainingTime(int timerId) override;

  void wakeUp() override;
  void interrupt() override;

 private:
  struct Watch {
    QSocketNotifier* Notifiers[3] = {nullptr, nullptr, nullptr};  // read, write, exception
    std::uint32_t Events = 0;                                     // as the epoll set has them
  };
  struct Timer {
    qint64 IntervalMs = 0;
    Qt::TimerType Type = Qt::PreciseTimer;
    QObject* Object = nullptr;
    std::int64_t DueNs = 0;
    bool Firing = false;  // its event is being delivered: not again meanwhile
  };

  void Update(int fd, Watch& watch);
  int ActivateTimers();
  int TimeoutMs() const;
  void Unindex(int timerId, const Timer& timer);

  int epoll_ = -1;
  int wake_ = -1;  // an eventfd other threads write to end a wait
  std::atomic<bool> wakePending_{false};
  std::atomic<bool> interrupted_{false};
  std::unordered_map<int, Watch> watches_;
  std::unordered_map<int, Timer> timers_;
  std::set<std::pair<std::int64_t, int>> due_;  // (due time, timer id)
};

}  // namespace tarvelis::server
