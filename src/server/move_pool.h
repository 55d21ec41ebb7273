// A few threads that weigh the computer's moves for the server's tables, so
// the thread that carries the messages never spends an expert's milliseconds.
// A table hands over at most one job at a time (it waits for its move), and
// the jobs are taken in turn: a busy table gets no more of the threads than
// any other. A person's seat played by the computer goes before the experts'
// seats, as a person is waiting on that very move, and the experts never hold
// every thread: one (with two or more) is kept for the persons' seats. A
// move's weighing is cut short at its time budget, so three experts at one
// table cannot hold a thread for long.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "server/server_table.h"

namespace tarvelis::server {

struct MoveBudget {
  // Wall time a move's weighing may take before it is cut short.
  std::chrono::milliseconds Expert{40};
  std::chrono::milliseconds PersonSeat{20};
};

class MovePool {
 public:
  // With no threads, jobs wait until RunQueued: a test drives the pool step
  // by step on its own thread.
  explicit MovePool(int threads, MoveBudget budget = {});
  ~MovePool();
  MovePool(const MovePool&) = delete;
  MovePool& operator=(const MovePool&) = delete;

  // Called from a worker whenever results arrive and none were waiting: the
  // owner's loop then takes them with TakeDone. Set before the first job.
  void SetWake(std::function<void()> wake);

  void Submit(MoveJob job);
  std::vector<MoveResult> TakeDone();
  // Weighs every job queued on the calling thread, in the workers' order.
  void RunQueued();
  // Ends the workers (the jobs not yet weighed are dropped); after this, no
  // wake is called.
  void Stop();

 private:
  struct Worker {
    std::atomic<bool> Cancel{false};
    bool Busy = false;
    std::chrono::steady_clock::time_point Deadline{};
  };

  bool NextJob(MoveJob& job);  // with the lock held; counts an expert's job taken
  void Finish(MoveResult result);
  void Work(Worker& worker);
  void Watch();

  MoveBudget budget_;
  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable watch_;
  std::deque<MoveJob> personSeats_;
  std::deque<MoveJob> experts_;
  std::vector<MoveResult> done_;
  std::function<void()> wake_;
  bool stopping_ = false;
  int expertThreads_ = 1;  // the most threads weighing experts' moves at once
  int expertsBusy_ = 0;
  std::vector<std::unique_ptr<Worker>> workers_;
  std::vector<std::thread> threads_;
  std::thread watcher_;
};

}  // namespace tarvelis::server
