// Which tiles a seat may play and where a tile goes. The same rules serve the
// manual seats (may the tile under the mouse be played now?) and the computer
// player (the ordered list of candidate moves).
#pragma once

#include <array>

#include "model/game_state.h"

namespace tarvelis {

// One candidate move: the pips that meet the chain and the pips that become
// the new end. A double has Matching == Other.
struct Candidate {
  i16 Matching = 0;
  i16 Other = 0;
};

// At most two sides for each of seven tiles.
inline constexpr int kMaxCandidates = 14;

struct CandidateList {
  std::array<Candidate, kMaxCandidates> Items{};
  int Count = 0;
};

// The first hand of a match under "Sale el Seis Doble" must be led with the
// double six, unless the leader is chosen by hand in every hand.
bool SixDoubleForced(const GameState& state);

// May `seat` play the tile in `slot` now?
bool EsJugable(const GameState& state, int seat, int slot);

// The candidate moves of `seat` after the lead, in slot order, pip A side
// before pip B side. With one tile left that fits both ends, only the first
// entry is kept. An empty list means a pass.
CandidateList ListCandidates(const GameState& state, int seat);

// The end a chosen candidate goes to: 2 when its matching pips show at end 2,
// otherwise 1 (so 2 when both ends show the same pips).
int EndForCandidate(const GameState& state, const Candidate& c);

// A move chosen for the seat to move: a tile, pip A first, and the end it
// goes to, or a pass.
struct ChosenMove {
  int PipA = kNoPip;
  int PipB = kNoPip;
  int End = kPassEnd;
  bool Evaluated = false;  // chosen by weighing two or more candidates
};

// A candidate as a move: pip A is the matching pip, on its end.
ChosenMove MoveOfCandidate(const GameState& state, const Candidate& c);

// Writes a chosen move into the move in hand (PlayPipA, PlayPipB, PlayEnd,
// PlayEvaluated).
void PutInHand(GameState& state, const ChosenMove& move);

// Writes a candidate into the move in hand (PlayPipA, PlayPipB, PlayEnd).
void TakeCandidate(GameState& state, const Candidate& c);

// The slot (1..7) of tile {a, b} in the seat's hand, either way round, held or
// played; 0 when the seat was not dealt it.
int BuscaHueco(const GameState& state, int a, int b, int seat);

// The seat (1..4) that was dealt tile {a, b}, either way round, and whether it
// has been played; seat 0 when nobody holds it (before a deal).
struct TileOwner {
  int Seat = 0;
  bool Played = false;
};
TileOwner DuenoFicha(const GameState& state, int a, int b);

// Exchanges PlayPipA and PlayPipB.
void CambiaFicha(GameState& state);

// Fixes the end and the orientation of the move in hand before it is laid:
// with both ends equal the arm with fewer tiles takes it (end 2 on a draw),
// and the tile is turned so that pip A touches the chain. For the lead the
// end is 1 and nothing is turned. Sets PlayIsDouble.
void OrientMove(GameState& state);

// Number of tiles already played that show pip value p.
int PlayedWithPip(const GameState& state, int p);

// A manual seat's tile that fits both ends (of different pips) goes where the
// user says, unless it is the seat's last tile or six tiles of each of its
// suits are out: then either end leaves the same chain and nothing is asked.
bool UserChoosesEnd(const GameState& state, int seat, const HandSlot& tile);

// The hand is blocked: both ends show the same pips and all seven tiles of
// that suit are on the table.
bool ChainBlocked(const GameState& state);

}  // namespace tarvelis
