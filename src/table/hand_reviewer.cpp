#include "table/hand_reviewer.h"

#include <QMetaObject>

namespace tarvelis {

HandReviewer::HandReviewer(QObject* parent) : QObject(parent) {}

HandReviewer::~HandReviewer() {
  // No thread outlives the table: the worker is told to stop and joined; its
  // queued calls die with this object.
  Cancel();
}

bool HandReviewer::Start(const GameState& state) {
  Cancel();
  const int total = ReviewableMoves(state);
  if (total == 0) return false;
  running_ = true;
  done_ = 0;
  total_ = total;
  subject_ = ReviewSubject(state, total);
  const unsigned generation = ++generation_;
  stop_ = std::make_shared<std::atomic<bool>>(false);
  // The worker owns its copy of the state; the live one is never touched.
  worker_ = std::thread([this, copy = state, stop = stop_, generation] {
    HandReview review = ReviewWholeHand(copy, [&](int done, int total) {
      if (stop->load()) return false;
      QMetaObject::invokeMethod(
          this,
          [this, generation, done, total] {
            if (generation != generation_ || !running_) return;
            done_ = done;
            total_ = total;
            if (onChanged) onChanged();
          },
          Qt::QueuedConnection);
      return !stop->load();
    });
    if (stop->load()) return;
    QMetaObject::invokeMethod(
        this,
        [this, generation, review = std::move(review)]() mutable {
          if (generation != generation_ || !running_) return;
          Join();
          running_ = false;
          finished_ = std::move(review);
          if (onChanged) onChanged();
        },
        Qt::QueuedConnection);
  });
  if (onChanged) onChanged();
  return true;
}

void HandReviewer::Join() {
  if (worker_.joinable()) worker_.join();
}

void HandReviewer::Cancel() {
  if (stop_) stop_->store(true);
  ++generation_;
  Join();
  running_ = false;
  done_ = total_ = 0;
}

void HandReviewer::Forget() {
  finished_.reset();
}

HandReviewStatus HandReviewer::StatusFor(const GameState& state) const {
  const int moves = ReviewableMoves(state);
  if (running_ && static_cast<int>(subject_.Entries.size()) == moves) {
    // The subject's moves are checked as a finished review's would be.
    HandReview probe = subject_;
    probe.Reviews.resize(probe.Entries.size());
    if (ReviewHolds(probe, state, moves)) return HandReviewStatus::kRunning;
  }
  if (finished_ && ReviewCoversHand(*finished_, state)) return HandReviewStatus::kDone;
  return HandReviewStatus::kNone;
}

}  // namespace tarvelis
