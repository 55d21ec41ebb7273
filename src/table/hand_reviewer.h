// The review of the hand on the table, run on a thread of its own so the
// table never stalls: the worker weighs a copy of the game state, never the
// live one, and hands its progress and its result back to the window's
// thread through queued calls. Any change of hand, a loaded game, the
// recorder going off or the program ending cancels it; a cancelled worker's
// late calls are dropped, so no result ever lands on another hand.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "engine/hand_review.h"
#include "layout/options_menu_rules.h"
#include "model/game_state.h"

namespace tarvelis {

class HandReviewer : public QObject {
 public:
  explicit HandReviewer(QObject* parent = nullptr);
  ~HandReviewer() override;
  HandReviewer(const HandReviewer&) = delete;
  HandReviewer& operator=(const HandReviewer&) = delete;

  // Starts reviewing every listed move of the hand in `state`, cancelling a
  // review already running. False when the hand has no move to review.
  bool Start(const GameState& state);

  // Stops a running review and waits for its thread; the last finished
  // review is kept (its marks still hold on its own hand). onChanged is not
  // called: the caller brings its own picture up to date.
  void Cancel();

  // Forgets the finished review.
  void Forget();

  bool Running() const { return running_; }
  int Done() const { return done_; }
  int Total() const { return total_; }
  // The hand being reviewed, valid while Running().
  const HandReview& Subject() const { return subject_; }
  // The last review that ran to its end.
  const std::optional<HandReview>& Finished() const { return finished_; }

  // Where the review of the hand in `state` stands, for the options menu.
  HandReviewStatus StatusFor(const GameState& state) const;

  // Called on the window's thread after each reviewed move and at the end.
  std::function<void()> onChanged;

 private:
  void Join();

  std::thread worker_;
  std::shared_ptr<std::atomic<bool>> stop_;
  unsigned generation_ = 0;
  bool running_ = false;
  int done_ = 0;
  int total_ = 0;
  HandReview subject_;
  std::optional<HandReview> finished_;
};

}  // namespace tarvelis
