// The server's ratings, kept off the loop that answers the moves. Rating a
// finished match is a transaction synced to the disk: 14 to 17 ms of waiting
// for 1.0 to 1.1 ms of processor on the development machine
// (bench_rating_store, BM_RecordMatch, two runs), where the loop spends some
// 50 us on a message, so a match ending on the loop would stall every table
// for longer than a move's whole round trip. Every write (a finished match, a
// new player, a changed name) goes to a thread of its own with its own
// connection to the database; the reads the room makes (a player, the
// leaderboard: 0.2 to 0.6 ms over 2,000 matches) stay on the caller's
// thread, which in WAL mode never waits for that writer.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "server/rating_store.h"

namespace tarvelis::server {

class RatingsThread : public RatingsPort {
 public:
  // Opens the database at `path` for reading here and for writing on the
  // thread; null with the reason in `error` when either cannot be opened.
  static std::unique_ptr<RatingsThread> Open(const std::string& path, std::string& error);
  // Writes what was handed over before it returns.
  ~RatingsThread() override;
  RatingsThread(const RatingsThread&) = delete;
  RatingsThread& operator=(const RatingsThread&) = delete;

  // The player as it will be once the thread has written it: a newcomer
  // gets the starting rating at once.
  std::optional<StoredPlayer> EnterWithKey(const std::string& key,
                                           const std::string& name) override;
  std::optional<StoredPlayer> Find(const std::string& keyHash) const override {
    return reader_->Find(keyHash);
  }
  // Handed to the thread; true once handed over. A write that fails is
  // logged there and not tried again: the match's players keep the
  // ratings they had.
  bool Record(const FinishedMatch& match) override;
  std::vector<StoredPlayer> Leaderboard(int most) const override {
    return reader_->Leaderboard(most);
  }
  std::vector<RatedEntry> History(const std::string& keyHash, int most) const override {
    return reader_->History(keyHash, most);
  }

 private:
  explicit RatingsThread(std::unique_ptr<RatingStore> reader) : reader_(std::move(reader)) {}
  using Write = std::function<bool(RatingStore&)>;
  void Add(Write write);
  void Loop(const std::string& path, std::string& error, std::promise<bool>& opened);

  std::unique_ptr<RatingStore> reader_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Write> writes_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace tarvelis::server
