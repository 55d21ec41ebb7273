// The measures of tarvelis-bots --probe: a last client enters a full room
// (how long until its listing comes, and its bytes), says a few lines, each
// timed from the saying to every bot that hears it, and changes its name a
// few times (entering again), each change timed from the asking to every bot
// that hears its room_person: the room holds its changes for a round, the
// chat it sends at once.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/json.h"

namespace tarvelis::server {

class RoomProbe {
 public:
  static constexpr int kLines = 5;

  void EnterSent(std::int64_t nowUs) { enterSentAt_ = nowUs; }
  // A message to the probe; true when it is the room's first, after which
  // the lines may be said once its listing has come (the caller waits).
  bool Received(const std::string& type, std::size_t bytes, std::int64_t nowUs);
  // The line `i` to say now, its time kept.
  Json Line(int i, std::int64_t nowUs);
  // A chat line a bot heard; one of the probe's is timed.
  void Heard(const Json& chat, std::int64_t nowUs);
  // The change `i`: the probe enters again under a name of its own.
  Json Change(int i, std::int64_t nowUs);
  // A line of the room's news a bot heard, as it came: one of the probe's
  // changes is timed.
  void HeardNews(const std::string& text, std::int64_t nowUs);
  std::size_t HeardChanges() const { return changed_.size(); }
  std::size_t HeardCount() const { return heard_.size(); }
  // One line of JSON with the measures.
  std::string Report(int people, int tables, int errors);

 private:
  std::int64_t enterSentAt_ = 0;
  double enterMs_ = 0;  // to the room's first message
  double wholeMs_ = 0;  // to its listing's last
  std::size_t bytes_ = 0;
  int messages_ = 0;
  bool listing_ = false;
  bool entered_ = false;
  std::array<std::int64_t, kLines> said_{-1, -1, -1, -1, -1};
  std::vector<std::int64_t> heard_;  // microseconds
  std::array<std::int64_t, kLines> asked_{-1, -1, -1, -1, -1};
  std::vector<std::int64_t> changed_;  // microseconds
};

}  // namespace tarvelis::server
