// The move record of the hand in play. The state after a move is never kept
// apart: applying an entry carries the move into the hands, the chain ends and
// the computer player's marks, and undoing the same entry takes it back
// exactly. Stepping back, stepping forward and the replay of the recorder all
// use that one pair of operations.
#pragma once

#include <string>

#include "model/game_state.h"

namespace tarvelis {

class TablePort;

// Records 0..40 at each deal; the record grows by 40 whenever the move about
// to be made would use its last entry. A hand has at most 109 moves: the lead
// and at most 27 more tiles, and before each of those at most three passes,
// since a fourth pass in a row would mean that nobody can play, which only
// happens once the chain is blocked, and a blocked chain has already ended the
// hand. So the record needs entries up to 109 and reaches 0..120 at most;
// kMoveRecordLimit is a hard bound far above that, which a corrupt loaded state
// cannot push the record past.
inline constexpr int kMoveRecordInitial = 41;
inline constexpr int kMoveRecordStep = 40;
inline constexpr int kMoveRecordLimit = 240;

enum : int { kApply = 1, kUndo = 2 };  // directions of AplicaJugada

// Makes sure entry `move` exists, growing the record as above. False when the
// move number is outside 1..kMoveRecordLimit; nothing is written then.
bool EnsureMoveRecordCapacity(GameState& state, int move);

// Writes entry MoveNumber from the move in hand before it is applied: the
// seat, the tile as laid, the end, PlayEvaluated, PlayIsDouble and the ends
// as they stand now; the drawing fields, the cursors and the headings come
// from `layout` (all zero for a pass). Then the move's recorder line goes to
// `port` when it shows the lines (`port` may be null). False when the entry
// is out of range.
bool GrabaJugada(GameState& state, const MoveEntry& layout, TablePort* port);

// Applies (kApply) or undoes (kUndo) entry `move`: the slot state, the tile
// count, the end's count and pips, and the marks. Nothing happens for an entry
// that does not describe a move of this hand.
void AplicaJugada(GameState& state, int direction, int move);

// Moves the computer player's marks `marks` by entry `move` of the record,
// applying (sgn +1) or undoing (sgn -1) it. AplicaJugada does this on
// SeatPipMark; the consistency check replays it on a table of its own. The
// entry must be one AplicaJugada would apply.
void UpdateMarks(const GameState& state, PerSeat<PerPip<i16>>& marks, int move, int sgn);

// Steps forward one move towards LiveMoveNumber, or back one move towards the
// lead, moving the cursors, the turn and the recorder selection with it and
// pausing 70 so the step can be watched. False when there is no move to take.
bool AvanzaJugada(GameState& state, TablePort* port);
bool RetrocedeJugada(GameState& state, TablePort* port);

// The recorder keeps play from going on: a replay runs, or the recorder is on
// away from the live move.
bool RecorderHoldsPlay(const GameState& state);

// The recorder line of entry `move`: " 4  Jugador3 Pasa", "12 Jugador1 5-3 ???".
// A name longer than nine characters is cut to nine, so every tile stays in
// its column.
std::string RecorderLine(const GameState& state, int move);

}  // namespace tarvelis
