// The move recorder: switched on while play waits at the continue button, it
// steps back and forward through the moves of the hand with the move record's
// own apply and undo, and is switched off by replaying up to the live move, or
// by playing on from the position shown, which drops the later moves.
//
// Everything here works on the game state and the engine's port, so the
// tests drive it headless; the table only draws the panel and routes presses.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/game_state.h"
#include "model/table_modes.h"
#include "model/table_port.h"

namespace tarvelis {

// The panel's controls, numbered as their areas in the artwork table.
enum class RecorderControl : std::uint8_t {
  kNone = 0,
  kBack = 1,
  kForward = 2,
  kRunBack = 3,
  kRunForward = 4,
  kPlayOn = 5,
  kSwitch = 6,
};

// A hand the recorder can look back at: one being played, or one just over
// whose table waits at "Continuar" for the next deal.
bool HandOnTable(const GameState& state);

// The recorder may be switched on: a hand is on the table, at least one move
// is in the record, and play waits at the continue button for the next one,
// with the table doing nothing else. In a finished hand the recorder steps
// and reviews but never plays on: the hand is scored.
bool CanSwitchRecorderOn(const GameState& state, const TableModes& modes);

// Switches the recorder on at the current move, which becomes the live move.
// False (and nothing changes) when it may not be switched on now. Arranging
// the hands stops.
bool EnciendeGrabadora(GameState& state, TableModes& modes, TablePort& port);

// Switches the recorder off, first replaying the moves up to the live move
// (`afterStep` runs after each one, so the table can follow). A quick replay
// lays the moves in the state alone, with no travel and no pause, and only
// selects the last line: the table is drawn again once it is over.
enum class Replay : std::uint8_t { kWatched, kQuick };
void ApagaGrabadora(GameState& state, TablePort& port, const std::function<void()>& afterStep = {},
                    Replay replay = Replay::kWatched);

// Play goes on from the move shown: the later moves are dropped, the
// recorder is switched off and, when the seat to move is automatic, the
// continue button is dismissed. Returns whether it was dismissed.
bool PlayOnFromHere(GameState& state, TablePort& port);

// A new hand or a loaded game: the recorder is off and has nothing to replay.
void ResetRecorder(GameState& state);

// The lines of the move list: one per recorded move up to the last move in
// force, or up to the live move while the recorder is on, so that stepped-back
// moves stay listed.
std::vector<std::string> MoveListLines(const GameState& state);

// The label of the continue button: the seat to move, or "Continuar" where a
// stepped-back hand has come forward to the live move again and all through a
// finished hand.
std::string NoticeLabel(const GameState& state);

// The panel's presses. Each action plays sound 6 as it starts and 7 as it
// ends; a run goes on, one step, Espera(27) and the window system's events at
// a time, until its end or until any press on the panel stops it where it
// stands. The switch replays quickly to where play stood.
class Recorder {
 public:
  Recorder(GameState& state, TablePort& port, TableModes& modes)
      : s_(state), port_(port), modes_(modes) {}

  // A press on `control` with the left button or another. False when the
  // press did nothing.
  bool Press(RecorderControl control, bool leftButton);

  bool Running() const { return running_; }
  // The control whose pressed picture shows while its action runs.
  RecorderControl Pressed() const { return pressed_; }

  // Called whenever the panel, the list or the continue button need redrawing.
  std::function<void()> Changed;

 private:
  bool Step(RecorderControl control);
  bool Run(RecorderControl control);
  void Notify() const;
  void SetPressed(RecorderControl control);
  bool StillReplaying() const;

  GameState& s_;
  TablePort& port_;
  TableModes& modes_;
  bool running_ = false;
  bool stopAsked_ = false;
  RecorderControl pressed_ = RecorderControl::kNone;
};

}  // namespace tarvelis
