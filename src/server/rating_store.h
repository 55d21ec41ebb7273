// The players' ratings and their finished matches, kept in one SQLite
// database (Qt SQL) beside the tables' files. A player is known only by the
// hash of the personal key the game made for it: the key itself never reaches
// the disk, and losing it loses the rating, nothing else.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "server/rating.h"
#include "server/ratings_port.h"

namespace tarvelis::server {

// The hash a player is stored under: SHA-256 of the key, in hex.
std::string KeyHash(const std::string& key);

class RatingStore : public RatingsPort {
 public:
  // Opens the database at `path`, creating it or bringing an older schema up
  // to date; null with the reason in `error` when it cannot.
  static std::unique_ptr<RatingStore> Open(const std::string& path, std::string& error);
  ~RatingStore();
  RatingStore(const RatingStore&) = delete;
  RatingStore& operator=(const RatingStore&) = delete;

  // The schema this build writes; a database of a newer one is refused.
  static int SchemaVersion();

  std::optional<StoredPlayer> Find(const std::string& keyHash) const override;
  std::optional<StoredPlayer> EnterWithKey(const std::string& key,
                                           const std::string& name) override {
    return Enter(KeyHash(key), name);
  }
  // The player of this hash, made at the starting rating when new; the name
  // is the one chosen last.
  std::optional<StoredPlayer> Enter(const std::string& keyHash, const std::string& name);
  // Rates the people of a finished match (a match with fewer than one person
  // rates nobody but is still kept) and keeps it, all in one transaction.
  bool Record(const FinishedMatch& match) override;
  std::vector<StoredPlayer> Leaderboard(int most) const override;
  std::vector<RatedEntry> History(const std::string& keyHash, int most) const override;

 private:
  explicit RatingStore(std::string connection) : connection_(std::move(connection)) {}
  bool Migrate(std::string& error);

  std::string connection_;  // the name of Qt's connection to the database
};

}  // namespace tarvelis::server
