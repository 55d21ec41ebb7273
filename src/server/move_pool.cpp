#include "server/move_pool.h"

#include <algorithm>
#include <utility>

namespace tarvelis::server {

MovePool::MovePool(int threads, MoveBudget budget)
    : budget_(budget), expertThreads_(std::max(1, threads - 1)) {
  for (int i = 0; i < threads; ++i) workers_.push_back(std::make_unique<Worker>());
  for (auto& worker : workers_) threads_.emplace_back([this, w = worker.get()] { Work(*w); });
  if (threads > 0) watcher_ = std::thread([this] { Watch(); });
}

MovePool::~MovePool() {
  Stop();
}

void MovePool::SetWake(std::function<void()> wake) {
  std::lock_guard lock(mutex_);
  wake_ = std::move(wake);
}

void MovePool::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    stopping_ = true;
    for (auto& worker : workers_) worker->Cancel = true;
  }
  work_.notify_all();
  watch_.notify_all();
  for (std::thread& t : threads_) t.join();
  if (watcher_.joinable()) watcher_.join();
  threads_.clear();
}

void MovePool::Submit(MoveJob job) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    (job.Player == MovePlayer::kPersonSeat ? personSeats_ : experts_).push_back(std::move(job));
  }
  work_.notify_one();
}

std::vector<MoveResult> MovePool::TakeDone() {
  std::lock_guard lock(mutex_);
  return std::exchange(done_, {});
}

bool MovePool::NextJob(MoveJob& job) {
  std::deque<MoveJob>* queue = &personSeats_;
  if (queue->empty()) {
    if (experts_.empty() || expertsBusy_ >= expertThreads_) return false;
    queue = &experts_;
    ++expertsBusy_;
  }
  job = std::move(queue->front());
  queue->pop_front();
  return true;
}

void MovePool::Finish(MoveResult result) {
  std::function<void()> wake;
  {
    std::lock_guard lock(mutex_);
    // One wake for a batch: the owner takes every result waiting at once.
    if (done_.empty()) wake = wake_;
    done_.push_back(std::move(result));
  }
  if (wake) wake();
}

void MovePool::RunQueued() {
  for (;;) {
    MoveJob job;
    {
      std::lock_guard lock(mutex_);
      if (!NextJob(job)) return;
    }
    MoveResult result = ComputeMove(job);
    std::lock_guard lock(mutex_);
    if (job.Player == MovePlayer::kExpert) --expertsBusy_;
    done_.push_back(std::move(result));
  }
}

void MovePool::Work(Worker& worker) {
  std::unique_lock lock(mutex_);
  for (;;) {
    MoveJob job;
    work_.wait(lock, [&] { return stopping_ || NextJob(job); });
    if (stopping_) return;
    worker.Cancel = false;
    worker.Busy = true;
    worker.Deadline = std::chrono::steady_clock::now() +
                      (job.Player == MovePlayer::kExpert ? budget_.Expert : budget_.PersonSeat);
    lock.unlock();
    watch_.notify_one();
    MoveResult result = ComputeMove(job, &worker.Cancel);
    lock.lock();
    worker.Busy = false;
    if (job.Player == MovePlayer::kExpert) --expertsBusy_;
    const bool expertsWaiting = !experts_.empty();
    lock.unlock();
    // A thread asleep may take the experts' next move now.
    if (expertsWaiting) work_.notify_one();
    Finish(std::move(result));
    lock.lock();
  }
}

void MovePool::Watch() {
  // Sleeps until the earliest deadline of the moves being weighed, and cuts
  // short those past theirs.
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    const auto now = std::chrono::steady_clock::now();
    auto next = std::chrono::steady_clock::time_point::max();
    for (auto& worker : workers_) {
      if (!worker->Busy) continue;
      if (worker->Deadline <= now) {
        worker->Cancel = true;
      } else {
        next = std::min(next, worker->Deadline);
      }
    }
    if (next == std::chrono::steady_clock::time_point::max()) {
      watch_.wait(lock);
    } else {
      watch_.wait_until(lock, next);
    }
  }
}

}  // namespace tarvelis::server
