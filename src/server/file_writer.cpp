#include "server/file_writer.h"

#include <cstdio>

namespace tarvelis::server {

void FileWriter::Loop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (jobs_.empty()) return;
    Hall::FileJob job = std::move(jobs_.front());
    jobs_.pop_front();
    writing_ = true;
    lock.unlock();
    const bool ok = WriteFileJob(job);
    if (!ok) {
      std::fprintf(stderr, "tarvelis-server: cannot write %s; trying again\n", job.Path.c_str());
    }
    lock.lock();
    writing_ = false;
    done_.emplace_back(std::move(job.Code), ok);
    if (done_callback_) done_callback_();
  }
}

}  // namespace tarvelis::server
