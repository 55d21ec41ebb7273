// The expert's reading of how the other seats played. A computer seat chooses
// from the deal and the record alone, at a level everyone at the table can
// see, so under an imagined deal its moves can be chosen again: a deal under
// which it would have played otherwise cannot be the real one. A person is
// not so predictable; a move the rules would not have made only makes a deal
// less likely. The same imagined table then plays each deal out with every
// seat playing as it does.
#pragma once

#include <cstdint>
#include <memory>

#include "model/game_state.h"
#include "player/expert_knowledge.h"
#include "player/expert_search.h"

namespace tarvelis::expert {

// How a seat chooses its moves, as the settings show it to every seat.
enum class SeatPlay : std::uint8_t {
  kRules,   // the computer player at the seat's level
  kExpert,  // the expert: no one can replay it cheaply, so it is read as a person
  kPerson,  // a manual seat
};
SeatPlay PlayOf(const GameState& state, int seat);

// How much a person's move that the rules would not have made weighs a deal
// down; never zero, so no deal is ruled out by a person's whim.
inline constexpr double kPersonSurprise = 0.5;

// The table as it would stand under one imagined deal.
class ImaginedTable {
 public:
  // Reads from `state` only the seats' settings, the house rules, where the
  // match stands and the record of moves 1 .. knowledge.MoveNumber - 1; every
  // hand and everything derived from the hands is rebuilt from each deal.
  ImaginedTable(const GameState& state, const Knowledge& knowledge);
  ~ImaginedTable();
  ImaginedTable(const ImaginedTable&) = delete;
  ImaginedTable& operator=(const ImaginedTable&) = delete;

  struct Fit {
    int Misses = 0;     // moves of computer seats the deal cannot explain
    double Weight = 1;  // how well the persons' moves fit it
  };

  // Deals `hands` (each seat's held tiles; the played ones come from the
  // record) as the deal would have, recomputes what the deal tells, and
  // replays the record up to the decision. With `check`, every move of a
  // computer seat is chosen again and compared; the replay stops once more
  // than `mostMisses` disagree (the table is then not at the decision).
  Fit Replay(const PerSeat<TileSet>& hands, bool check, int mostMisses);

  // After a full Replay: lays `move` for the seat to move and plays the hand
  // out, every seat choosing as it plays (persons and experts as the
  // computer player at full strength); the result for `scorer`'s side.
  int PlayOut(const SearchMove& move, const Scorer& scorer);

  // After a full Replay: the state the computer player would read at the
  // decision.
  const GameState& AtDecision() const;

 private:
  struct States;
  Knowledge k_;
  PerSeat<SeatPlay> plays_{};
  std::unique_ptr<States> states_;
};

}  // namespace tarvelis::expert
