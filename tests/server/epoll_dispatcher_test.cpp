// The server's event loop: timers come in the order they fall due and never
// after they are stopped, and a socket's notifier hears when it may be read,
// written or has been closed. Run under a real QCoreApplication on the
// dispatcher, as the server runs; every wait is bounded by a timer of its own.
#include "server/epoll_dispatcher.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QTimerEvent>
#include <functional>
#include <thread>
#include <vector>

namespace tarvelis::server {
namespace {

// Runs the loop until `done` holds or five seconds pass; true when it held.
bool RunUntil(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 5000) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents, 50);
  }
  return done();
}

// Records the timer events it gets; may stop another timer from its handler.
class TimerLog : public QObject {
 public:
  std::vector<int> fired;
  int stopOnFirst = 0;  // a timer id to stop when the first event comes

 protected:
  void timerEvent(QTimerEvent* event) override {
    fired.push_back(event->timerId());
    killTimer(event->timerId());
    if (stopOnFirst != 0) killTimer(std::exchange(stopOnFirst, 0));
  }
};

TEST(EpollDispatcher, TimersFireInTheOrderTheyFallDue) {
  TimerLog log;
  const int late = log.startTimer(30);
  const int early = log.startTimer(5);
  const int middle = log.startTimer(15);
  ASSERT_TRUE(RunUntil([&] { return log.fired.size() == 3; }));
  EXPECT_EQ(log.fired, (std::vector<int>{early, middle, late}));
}

TEST(EpollDispatcher, ATimerStoppedWhileDueDoesNotFire) {
  TimerLog log;
  const int first = log.startTimer(1);
  const int second = log.startTimer(2);
  log.stopOnFirst = second;
  // Both are due when the loop next looks: the first one's handler stops the
  // second in the same pass.
  QThread::msleep(20);
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(log.fired, std::vector<int>{first});
  EXPECT_TRUE(QAbstractEventDispatcher::instance()->registeredTimers(&log).isEmpty());
}

TEST(EpollDispatcher, ARepeatingTimerKeepsComing) {
  int ticks = 0;
  QTimer timer;
  timer.setInterval(1);
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start();
  EXPECT_TRUE(RunUntil([&] { return ticks >= 3; }));
  timer.stop();
  const int stopped = ticks;
  QThread::msleep(5);
  QCoreApplication::processEvents();
  EXPECT_EQ(ticks, stopped);
}

// A connected pair of local sockets, closed at the end.
struct SocketPair {
  int fd[2] = {-1, -1};
  SocketPair() { EXPECT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fd), 0); }
  ~SocketPair() {
    for (int f : fd) {
      if (f >= 0) close(f);
    }
  }
};

TEST(EpollDispatcher, AReaderHearsDataAndAHangUp) {
  SocketPair pair;
  QSocketNotifier reader(pair.fd[0], QSocketNotifier::Read);
  int heard = 0;
  QObject::connect(&reader, &QSocketNotifier::activated, [&] {
    ++heard;
    char buffer[16];
    // Drained, so it is heard again only for something new.
    while (read(pair.fd[0], buffer, sizeof buffer) > 0) {
    }
  });
  QCoreApplication::processEvents();
  EXPECT_EQ(heard, 0) << "nothing was written yet";

  ASSERT_EQ(write(pair.fd[1], "x", 1), 1);
  ASSERT_TRUE(RunUntil([&] { return heard == 1; }));

  close(pair.fd[1]);
  pair.fd[1] = -1;
  EXPECT_TRUE(RunUntil([&] { return heard >= 2; })) << "the hang-up was not heard";
}

TEST(EpollDispatcher, AWriterHearsRoomAndIsQuietOnceDisabled) {
  SocketPair pair;
  QSocketNotifier writer(pair.fd[0], QSocketNotifier::Write);
  int heard = 0;
  QObject::connect(&writer, &QSocketNotifier::activated, [&] {
    ++heard;
    writer.setEnabled(false);
  });
  ASSERT_TRUE(RunUntil([&] { return heard == 1; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(heard, 1);
}

TEST(EpollDispatcher, AReaderAndAWriterOnOneSocketAreHeardApart) {
  SocketPair pair;
  QSocketNotifier reader(pair.fd[0], QSocketNotifier::Read);
  QSocketNotifier writer(pair.fd[0], QSocketNotifier::Write);
  int reads = 0;
  int writes = 0;
  QObject::connect(&reader, &QSocketNotifier::activated, [&] {
    ++reads;
    reader.setEnabled(false);
  });
  QObject::connect(&writer, &QSocketNotifier::activated, [&] {
    ++writes;
    writer.setEnabled(false);
  });
  ASSERT_TRUE(RunUntil([&] { return writes == 1; }));
  EXPECT_EQ(reads, 0);
  ASSERT_EQ(write(pair.fd[1], "x", 1), 1);
  EXPECT_TRUE(RunUntil([&] { return reads == 1; }));
}

TEST(EpollDispatcher, AWakeFromAnotherThreadEndsAWait) {
  // Only the wake or, should it be lost, this far later timer can end the wait.
  bool timedOut = false;
  QTimer safety;
  safety.setSingleShot(true);
  QObject::connect(&safety, &QTimer::timeout, [&] { timedOut = true; });
  safety.start(5000);
  std::thread waker([] {
    QThread::msleep(20);
    QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread())->wakeUp();
  });
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  waker.join();
  EXPECT_FALSE(timedOut);
}

}  // namespace
}  // namespace tarvelis::server

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication::setEventDispatcher(new tarvelis::server::EpollDispatcher);
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
