#include "server/ratings_thread.h"

#include <cstdio>

namespace tarvelis::server {

std::unique_ptr<RatingsThread> RatingsThread::Open(const std::string& path, std::string& error) {
  // The reader first: it brings the schema up to date before the writer's
  // thread opens the same file.
  auto reader = RatingStore::Open(path, error);
  if (!reader) return nullptr;
  std::unique_ptr<RatingsThread> ratings(new RatingsThread(std::move(reader)));
  std::promise<bool> opened;
  std::future<bool> ready = opened.get_future();
  RatingsThread* self = ratings.get();
  ratings->thread_ =
      std::thread([self, path, &error, &opened] { self->Loop(path, error, opened); });
  if (!ready.get()) {
    ratings->thread_.join();
    return nullptr;
  }
  return ratings;
}

RatingsThread::~RatingsThread() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void RatingsThread::Loop(const std::string& path, std::string& error, std::promise<bool>& opened) {
  // Qt's connection to a database belongs to the thread that made it.
  std::unique_ptr<RatingStore> writer = RatingStore::Open(path, error);
  opened.set_value(writer != nullptr);
  if (!writer) return;
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !writes_.empty(); });
    if (writes_.empty()) return;
    Write write = std::move(writes_.front());
    writes_.pop_front();
    lock.unlock();
    const bool ok = write(*writer);
    if (!ok) std::fprintf(stderr, "tarvelis-server: a rating could not be written\n");
    lock.lock();
  }
}

void RatingsThread::Add(Write write) {
  {
    std::lock_guard lock(mutex_);
    writes_.push_back(std::move(write));
  }
  wake_.notify_one();
}

std::optional<StoredPlayer> RatingsThread::EnterWithKey(const std::string& key,
                                                        const std::string& name) {
  const std::string hash = KeyHash(key);
  std::optional<StoredPlayer> found = reader_->Find(hash);
  if (found && found->Name == name) return found;
  StoredPlayer player = found.value_or(StoredPlayer{hash, name, Rating{}, 0, 0, 0});
  player.Name = name;
  Add([hash, name](RatingStore& store) { return store.Enter(hash, name).has_value(); });
  return player;
}

bool RatingsThread::Record(const FinishedMatch& match) {
  Add([match](RatingStore& store) { return store.Record(match); });
  return true;
}

}  // namespace tarvelis::server
