#include "server/epoll_dispatcher.h"

#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimerEvent>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace tarvelis::server {
namespace {

constexpr int kMaxEventsPerWait = 512;

// What wakes each kind of notifier: a reader or a writer also hears of a
// hang-up or an error, so it finds the socket closed (and a hang-up reported
// again and again never spins the loop with nobody to hear it).
constexpr std::uint32_t kWakes[3] = {EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR,
                                     EPOLLOUT | EPOLLHUP | EPOLLERR, EPOLLPRI};
constexpr std::uint32_t kAsks[3] = {EPOLLIN | EPOLLRDHUP, EPOLLOUT, EPOLLPRI};

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

EpollDispatcher::EpollDispatcher() {
  epoll_ = epoll_create1(EPOLL_CLOEXEC);
  wake_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (epoll_ < 0 || wake_ < 0) {
    std::perror("epoll");
    std::abort();
  }
  epoll_event ev{};
  ev.events = EPOLLIN;
  ev.data.fd = wake_;
  epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &ev);
}

EpollDispatcher::~EpollDispatcher() {
  close(wake_);
  close(epoll_);
}

void EpollDispatcher::Update(int fd, Watch& watch) {
  std::uint32_t wanted = 0;
  for (int type = 0; type < 3; ++type) {
    if (watch.Notifiers[type] != nullptr) wanted |= kAsks[type];
  }
  if (wanted == watch.Events) return;
  epoll_event ev{};
  ev.events = wanted;
  ev.data.fd = fd;
  if (wanted == 0) {
    // The socket may be closed already, and so out of the set: nothing to undo.
    epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, &ev);
  } else if (watch.Events == 0 || epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &ev) != 0) {
    // A closed socket leaves the set by itself; its number may come back.
    if (epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &ev) != 0 && errno == EEXIST)
      epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &ev);
  }
  watch.Events = wanted;
}

void EpollDispatcher::registerSocketNotifier(QSocketNotifier* notifier) {
  const int fd = static_cast<int>(notifier->socket());
  const int type = static_cast<int>(notifier->type());
  if (fd < 0 || type < 0 || type > 2) return;
  Watch& watch = watches_[fd];
  watch.Notifiers[type] = notifier;
  Update(fd, watch);
}

void EpollDispatcher::unregisterSocketNotifier(QSocketNotifier* notifier) {
  const int fd = static_cast<int>(notifier->socket());
  const int type = static_cast<int>(notifier->type());
  const auto it = watches_.find(fd);
  if (it == watches_.end() || type < 0 || type > 2 || it->second.Notifiers[type] != notifier)
    return;
  it->second.Notifiers[type] = nullptr;
  Update(fd, it->second);
  if (it->second.Events == 0) watches_.erase(it);
}

void EpollDispatcher::registerTimer(int timerId, qint64 interval, Qt::TimerType timerType,
                                    QObject* object) {
  Timer timer;
  timer.IntervalMs = std::max<qint64>(interval, 0);
  timer.Type = timerType;
  timer.Object = object;
  timer.DueNs = NowNs() + timer.IntervalMs * 1000000;
  if (const auto old = timers_.find(timerId); old != timers_.end()) Unindex(timerId, old->second);
  timers_[timerId] = timer;
  due_.emplace(timer.DueNs, timerId);
}

void EpollDispatcher::Unindex(int timerId, const Timer& timer) {
  due_.erase({timer.DueNs, timerId});
}

bool EpollDispatcher::unregisterTimer(int timerId) {
  const auto it = timers_.find(timerId);
  if (it == timers_.end()) return false;
  Unindex(timerId, it->second);
  timers_.erase(it);
  return true;
}

bool EpollDispatcher::unregisterTimers(QObject* object) {
  bool any = false;
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->second.Object == object) {
      Unindex(it->first, it->second);
      it = timers_.erase(it);
      any = true;
    } else {
      ++it;
    }
  }
  return any;
}

QList<QAbstractEventDispatcher::TimerInfo> EpollDispatcher::registeredTimers(
    QObject* object) const {
  QList<TimerInfo> list;
  for (const auto& [id, timer] : timers_) {
    if (timer.Object == object)
      list.append(TimerInfo(id, static_cast<int>(timer.IntervalMs), timer.Type));
  }
  return list;
}

int EpollDispatcher::remainingTime(int timerId) {
  const auto it = timers_.find(timerId);
  if (it == timers_.end()) return -1;
  const std::int64_t left = it->second.DueNs - NowNs();
  return left <= 0 ? 0 : static_cast<int>(std::min<std::int64_t>(left / 1000000, INT_MAX));
}

void EpollDispatcher::wakeUp() {
  if (wakePending_.exchange(true)) return;
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = write(wake_, &one, sizeof one);
}

void EpollDispatcher::interrupt() {
  interrupted_.store(true);
  wakeUp();
}

int EpollDispatcher::TimeoutMs() const {
  if (due_.empty()) return -1;
  const std::int64_t left = due_.begin()->first - NowNs();
  if (left <= 0) return 0;
  // Rounded up: a timer is never woken for before it is due.
  return static_cast<int>(std::min<std::int64_t>((left + 999999) / 1000000, INT_MAX));
}

int EpollDispatcher::ActivateTimers() {
  const std::int64_t now = NowNs();
  std::vector<int> ready;
  for (auto it = due_.begin(); it != due_.end() && it->first <= now; ++it)
    ready.push_back(it->second);
  int fired = 0;
  for (const int id : ready) {
    auto it = timers_.find(id);
    // Gone or firing already (its handler runs a loop of its own): skipped.
    if (it == timers_.end() || it->second.Firing || it->second.DueNs > now) continue;
    Timer& timer = it->second;
    Unindex(id, timer);
    const std::int64_t interval = timer.IntervalMs * 1000000;
    timer.DueNs += interval;
    // A loop that fell behind skips the missed turns rather than running them all.
    if (timer.DueNs <= now) timer.DueNs = now + interval;
    due_.emplace(timer.DueNs, id);
    timer.Firing = true;
    QObject* object = timer.Object;
    QTimerEvent event(id);
    QCoreApplication::sendEvent(object, &event);
    ++fired;
    // The handler may have stopped the timer, or stopped it and started another.
    it = timers_.find(id);
    if (it != timers_.end()) it->second.Firing = false;
  }
  return fired;
}

bool EpollDispatcher::processEvents(QEventLoop::ProcessEventsFlags flags) {
  interrupted_.store(false);
  emit awake();
  QCoreApplication::sendPostedEvents();

  const bool mayWait = flags.testFlag(QEventLoop::WaitForMoreEvents) && !interrupted_.load();
  const bool timers = !flags.testFlag(QEventLoop::X11ExcludeTimers);
  int timeout = 0;
  if (mayWait) {
    timeout = timers ? TimeoutMs() : -1;
    if (timeout != 0) emit aboutToBlock();
  }
  const bool sockets = !flags.testFlag(QEventLoop::ExcludeSocketNotifiers);
  epoll_event events[kMaxEventsPerWait];
  int count = 0;
  if (sockets) {
    count = epoll_wait(epoll_, events, kMaxEventsPerWait, timeout);
  } else {
    // Sockets left for later must not end the wait at once, again and again:
    // only a wake or a timer does.
    pollfd wake{wake_, POLLIN, 0};
    if (poll(&wake, 1, timeout) > 0) {
      events[0].data.fd = wake_;
      events[0].events = EPOLLIN;
      count = 1;
    }
  }
  if (count < 0) count = 0;  // a signal: the caller comes round again
  if (timeout != 0) emit awake();

  int handled = 0;
  std::vector<std::pair<int, std::uint32_t>> ready;
  ready.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const int fd = events[i].data.fd;
    const std::uint32_t got = events[i].events;
    if (fd == wake_) {
      std::uint64_t value = 0;
      [[maybe_unused]] const ssize_t n = read(wake_, &value, sizeof value);
      wakePending_.store(false);
      ++handled;
    } else {
      ready.emplace_back(fd, got);
    }
  }
  if (sockets) {
    for (const auto& [fd, got] : ready) {
      for (int type = 0; type < 3; ++type) {
        if ((got & kWakes[type]) == 0) continue;
        // Looked up afresh: an earlier handler may have closed this socket.
        const auto it = watches_.find(fd);
        if (it == watches_.end()) break;
        QSocketNotifier* notifier = it->second.Notifiers[type];
        if (notifier == nullptr) continue;
        QEvent event(QEvent::SockAct);
        QCoreApplication::sendEvent(notifier, &event);
        ++handled;
      }
    }
  }
  if (timers) handled += ActivateTimers();
  return handled > 0;
}

}  // namespace tarvelis::server
