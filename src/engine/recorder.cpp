#include "engine/recorder.h"

#include <algorithm>

#include "engine/hand_messages.h"
#include "model/move_record.h"

namespace tarvelis {
namespace {

constexpr int kRunPause = 27;

bool WrittenEntry(const GameState& s, int move) {
  if (move < 1 || move >= static_cast<int>(s.MoveRecord.size())) return false;
  const int seat = s.MoveRecord[move][kFSeat];
  return seat >= 1 && seat <= kSeats;
}

// The moves from `from` on are no longer part of the hand.
void DropMovesFrom(GameState& s, int from, int through) {
  through = std::min(through, static_cast<int>(s.MoveRecord.size()) - 1);
  for (int n = std::max(from, 1); n <= through; ++n) s.MoveRecord[n] = MoveEntry{};
}

// Replays up to the live move; a record that cannot be replayed further ends
// the replay where it stands, and the moves it could not reach are dropped so
// that play goes on from a position that holds together.
void ReplayToLive(GameState& s, TablePort& port, const std::function<void()>& afterStep,
                  Replay replay) {
  TablePort* shown = replay == Replay::kQuick ? nullptr : &port;
  while (s.MoveNumber < s.LiveMoveNumber && HandOnTable(s)) {
    if (!AvanzaJugada(s, shown)) {
      DropMovesFrom(s, s.MoveNumber, s.LiveMoveNumber);
      s.LiveMoveNumber = s.MoveNumber;
      break;
    }
    if (afterStep && shown != nullptr) afterStep();
  }
  if (shown == nullptr) port.RecorderSelect(s.MoveNumber - 2);
}

}  // namespace

bool HandOnTable(const GameState& s) {
  return s.MatchInProgress && (s.HandInProgress || s.NoticeShown);
}

bool CanSwitchRecorderOn(const GameState& s, const TableModes& modes) {
  // At a server's table the hand is looked back at only once it is over.
  if (modes.Networked && s.HandInProgress) return false;
  return !s.RecorderOn && !s.RecorderBusy && HandOnTable(s) && s.NoticeShown && s.MoveNumber >= 2 &&
         s.MoveNumber < static_cast<int>(s.MoveRecord.size()) && !modes.Busy();
}

bool EnciendeGrabadora(GameState& s, TableModes& modes, TablePort& port) {
  if (!CanSwitchRecorderOn(s, modes)) return false;
  port.PlaySound(Sound::kSwitchStarts);
  // Arranging the hands makes no sense while the hand is being looked back at.
  modes.OrderMode = modes.TurnMode = false;
  // A finished hand still counts its last move as the current one; the
  // recorder counts from the move after it, as in a hand being played.
  if (!s.HandInProgress) AdvanceTurn(s);
  s.LiveMoveNumber = s.MoveNumber;
  s.RecorderBusy = false;
  port.PlaySound(Sound::kSwitchEnds);
  s.RecorderOn = true;
  return true;
}

void ApagaGrabadora(GameState& s, TablePort& port, const std::function<void()>& afterStep,
                    Replay replay) {
  if (!s.RecorderOn) return;
  s.RecorderBusy = true;
  port.PlaySound(Sound::kSwitchStarts);
  ReplayToLive(s, port, afterStep, replay);
  if (!s.HandInProgress) TurnBack(s);
  port.PlaySound(Sound::kSwitchEnds);
  s.RecorderBusy = false;
  s.RecorderOn = false;
}

bool PlayOnFromHere(GameState& s, TablePort& port) {
  // A finished hand is scored: it is looked back at, never played again.
  if (!s.RecorderOn || s.RecorderBusy || !s.HandInProgress) return false;
  port.Wait(kRunPause);
  DropMovesFrom(s, s.MoveNumber, s.LiveMoveNumber);
  s.LiveMoveNumber = s.MoveNumber;
  ApagaGrabadora(s, port);
  const int seat = s.CurrentSeat;
  if (seat < 1 || seat > kSeats || s.SeatControl[seat] != kAutomatic) return false;
  s.NoticeShown = false;
  return true;
}

void ResetRecorder(GameState& s) {
  s.RecorderOn = false;
  s.RecorderBusy = false;
  s.LiveMoveNumber = s.MoveNumber;
}

std::vector<std::string> MoveListLines(const GameState& s) {
  int last = std::min<int>(s.RecorderOn ? s.LiveMoveNumber : s.MoveNumber,
                           static_cast<int>(s.MoveRecord.size()) - 1);
  while (last >= 1 && !WrittenEntry(s, last)) --last;
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(std::max(last, 0)));
  for (int n = 1; n <= last; ++n) lines.push_back(RecorderLine(s, n));
  return lines;
}

std::string NoticeLabel(const GameState& s) {
  if (!s.HandInProgress || (s.RecorderOn && s.MoveNumber == s.LiveMoveNumber)) {
    return kContinueLabel;
  }
  const int seat = s.CurrentSeat;
  return seat >= 1 && seat <= kSeats ? Trimmed(s.SeatName[seat]) : std::string();
}

// ---------------------------------------------------------------------------

void Recorder::Notify() const {
  if (Changed) Changed();
}

void Recorder::SetPressed(RecorderControl control) {
  pressed_ = control;
  Notify();
}

bool Recorder::StillReplaying() const {
  return s_.RecorderOn && !s_.RecorderBusy && HandOnTable(s_);
}

bool Recorder::Press(RecorderControl control, bool leftButton) {
  if (control == RecorderControl::kNone) return false;
  if (Running()) {
    // Any press on the panel stops a run where it stands; the run's own
    // loop notices at its next step.
    if (!leftButton && control != RecorderControl::kSwitch) return false;
    stopAsked_ = true;
    return true;
  }
  if (control == RecorderControl::kSwitch) {
    if (s_.RecorderOn) {
      // A replay already running finishes the job.
      if (s_.RecorderBusy) return false;
      ApagaGrabadora(
          s_, port_, [this] { Notify(); }, Replay::kQuick);
    } else if (!EnciendeGrabadora(s_, modes_, port_)) {
      return false;
    }
    Notify();
    return true;
  }
  if (!leftButton || !s_.RecorderOn || s_.RecorderBusy) return false;
  switch (control) {
    case RecorderControl::kBack:
    case RecorderControl::kForward:
      return Step(control);
    case RecorderControl::kRunBack:
    case RecorderControl::kRunForward:
      return Run(control);
    case RecorderControl::kPlayOn:
      if (!s_.HandInProgress) return false;
      port_.PlaySound(Sound::kSwitchStarts);
      SetPressed(control);
      PlayOnFromHere(s_, port_);
      SetPressed(RecorderControl::kNone);
      port_.PlaySound(Sound::kSwitchEnds);
      return true;
    default:
      return false;
  }
}

bool Recorder::Step(RecorderControl control) {
  const bool back = control == RecorderControl::kBack;
  if (back ? s_.MoveNumber <= 1 : s_.MoveNumber >= s_.LiveMoveNumber) return false;
  port_.PlaySound(Sound::kSwitchStarts);
  SetPressed(control);
  const bool moved = back ? RetrocedeJugada(s_, &port_) : AvanzaJugada(s_, &port_);
  SetPressed(RecorderControl::kNone);
  port_.PlaySound(Sound::kSwitchEnds);
  return moved;
}

bool Recorder::Run(RecorderControl control) {
  const bool back = control == RecorderControl::kRunBack;
  auto more = [&] { return back ? s_.MoveNumber > 1 : s_.MoveNumber < s_.LiveMoveNumber; };
  if (!more()) return false;
  port_.PlaySound(Sound::kSwitchStarts);
  SetPressed(control);
  // Running until this returns: a second press that arrives with the one
  // that stopped the run finds it still running, and only stops it again.
  running_ = true;
  stopAsked_ = false;
  while (!stopAsked_ && more() && StillReplaying()) {
    if (!(back ? RetrocedeJugada(s_, &port_) : AvanzaJugada(s_, &port_))) break;
    Notify();
    port_.Wait(kRunPause);
    // The user's second press arrives here.
    port_.YieldToWindows();
  }
  running_ = false;
  stopAsked_ = false;
  SetPressed(RecorderControl::kNone);
  port_.PlaySound(Sound::kSwitchEnds);
  return true;
}

}  // namespace tarvelis
