// The thread that writes the tables' files (see Hall::TakeFileJobs).
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "server/hall.h"

namespace tarvelis::server {

// The tables' files are written by a thread of their own, so the disk's
// waits (each file is synced before it replaces the old one) never hold up a
// move. Jobs for one file are written in the order they were made; each
// outcome goes back to the hall, which tries a failed file again.
class FileWriter {
 public:
  // `done` is called on the writer's thread after each job.
  explicit FileWriter(std::function<void()> done)
      : done_callback_(std::move(done)), thread_([this] { Loop(); }) {}
  ~FileWriter() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  // `urgent` jobs (hands just closed, whose news waits) go before those
  // already waiting. The hall never hands over a table's job while another
  // of the same table is out, so no file is written out of its order.
  void Add(std::vector<Hall::FileJob> jobs, bool urgent = false) {
    if (jobs.empty()) return;
    {
      std::lock_guard lock(mutex_);
      auto at = jobs_.begin();
      for (auto& job : jobs) {
        if (urgent) {
          at = std::next(jobs_.insert(at, std::move(job)));
        } else {
          jobs_.push_back(std::move(job));
        }
      }
    }
    wake_.notify_one();
  }

  std::size_t Waiting() {
    std::lock_guard lock(mutex_);
    return jobs_.size();
  }

  // Waits, a few seconds at most, for every job handed over to be written.
  void Drain() {
    for (int i = 0; i < 1000; ++i) {
      {
        std::lock_guard lock(mutex_);
        if (jobs_.empty() && !writing_) return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  // The outcomes since the last call: each table's code, and whether its
  // file was written.
  std::vector<std::pair<std::string, bool>> TakeDone() {
    std::lock_guard lock(mutex_);
    return std::exchange(done_, {});
  }

 private:
  // Runs until stopped, and then until every job handed over is written.
  void Loop();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Hall::FileJob> jobs_;
  std::vector<std::pair<std::string, bool>> done_;
  bool stopping_ = false;
  bool writing_ = false;
  std::function<void()> done_callback_;
  std::thread thread_;
};

}  // namespace tarvelis::server
