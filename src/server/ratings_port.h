// What the hall asks of the players' ratings, whatever keeps them: the
// server's database, or a plain map in the hall's tests. The hall is plain
// C++ and never sees the key's hash being made nor the database's driver.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "server/rating.h"

namespace tarvelis::server {

struct StoredPlayer {
  std::string KeyHash;
  std::string Name;
  Rating Rated;
  int Matches = 0;
  int Hands = 0;
  int HandsWon = 0;
};

// A seat of a finished match. A person has a key hash; a computer seat has
// none and plays at the fixed rating its level was measured at.
struct FinishedSeat {
  std::string KeyHash;  // empty for the computer
  std::string Name;
  Rating Fixed;  // the computer's rating; a person's is read from the store
  int Total = 0;
  int HandsWon = 0;
};

struct FinishedMatch {
  std::string Date;   // ISO 8601, UTC
  std::string Rules;  // the house rules in one line, as the room shows them
  bool Pairs = true;
  int Hands = 0;
  std::array<FinishedSeat, 4> Seats;
};

// One match of a player's own page: its rating before and after.
struct RatedEntry {
  std::string Date;
  int Total = 0;
  double Before = 0;
  double After = 0;
};

class RatingsPort {
 public:
  virtual ~RatingsPort() = default;
  // The player of this key (its hash is what is kept), made at the starting
  // rating when new; the name is the one chosen last. Nothing when the
  // store cannot be reached.
  virtual std::optional<StoredPlayer> EnterWithKey(const std::string& key,
                                                   const std::string& name) = 0;
  virtual std::optional<StoredPlayer> Find(const std::string& keyHash) const = 0;
  // Rates the people of a finished match and keeps it.
  virtual bool Record(const FinishedMatch& match) = 0;
  virtual std::vector<StoredPlayer> Leaderboard(int most) const = 0;
  virtual std::vector<RatedEntry> History(const std::string& keyHash, int most) const = 0;
};

}  // namespace tarvelis::server
