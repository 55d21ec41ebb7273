// What the engine asks of the table while a match runs. The port carries
// intent ("show the laid tile of move n"), never pixels: the Qt table draws and
// waits, the headless port of the simulator and the tests answers at once.
//
// Every method that waits (the waits, the questions, the continue button, the
// end arrows, the leader choice, the manual deal, and any animation that lets
// the window system run) must return early once the running loop has been
// asked to unwind (LoopControl::Unwinding in engine/turn_loop.h). The engine
// re-reads the control after each such call and changes nothing more when it
// is unwinding.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "model/sounds.h"

namespace tarvelis {

// Button sets of the message dialog.
inline constexpr int kButtonsNotice = 1;
inline constexpr int kButtonsQuestion = 2;

// The message dialog's pictures, numbered as their cells in its strip.
enum MessagePicture : int {
  kPictureInformation = 1,
  kPictureQuestion = 2,
  kPictureWarning = 3,
  kPictureError = 4,
  kPictureTrophy = 5,
  kPictureDominoes = 6,
};

class TablePort {
 public:
  virtual ~TablePort() = default;

  // Lets the window system handle what is pending, once.
  virtual void YieldToWindows() = 0;

  // The game's message dialog. Returns true for the yes button of a question;
  // a notice returns true.
  virtual bool ShowMessage(const std::string& title, const std::string& text, int picture,
                           int buttons) = 0;

  // Shows the continue button labelled `label` (NoticeShown is already true)
  // and waits until the user dismisses it; the port then clears NoticeShown. A click on
  // a playable tile of the manual seat to move dismisses it too: its slot is
  // returned, and is that seat's move. Otherwise returns 0.
  virtual int WaitForNotice(std::string_view label) = 0;

  // A new hand is about to be dealt: hide the recorder panel, empty and hide
  // the move list, redraw the scoreboard.
  virtual void ClearTableForDeal() = 0;

  // A saved game has replaced the one in play: nothing the table was doing
  // with the old game's hands carries over, the table is drawn again from
  // the state (the chain from its record, the hands, the scoreboard) and the
  // move list takes the hand's moves.
  virtual void GameLoaded() = 0;

  // Redraws one seat's hand as its options say.
  virtual void DrawHand(int seat) = 0;

  // Redraws the score on the table.
  virtual void DrawScoreboard() = 0;

  // The hand is over: shows every hand face up (without touching the seats'
  // options) and, after a domino, the domino picture.
  virtual void HandClosed(bool domino) = 0;

  // The tile of move `move` leaves its hand and is laid on the chain, as its
  // move record says.
  virtual void ShowLaidTile(int move) = 0;

  // The tile of move `move` is taken back from the chain into its hand.
  virtual void TakeBackTile(int move) = 0;

  // The pass sign beside `seat` (it blinks twice with the pass sound).
  virtual void ShowPassSign(int seat) = 0;

  // The end arrows: the user picks the end for a tile that fits both.
  // Returns 1 or 2, or 0 when the wait was cut short.
  virtual int AskEnd() = 0;

  // The computer's thinking pause: a hand sweeps over `seat`'s tiles.
  virtual void ThinkingPause(int seat) = 0;

  // Keeps the table answering while work runs on another thread, until
  // `busy` turns false or the loop is asked to unwind; false in the second
  // case, when the work's result is no longer wanted. A port without windows
  // returns true at once and the caller waits for the work itself.
  virtual bool WaitWhile(const std::function<bool()>& busy) {
    (void)busy;
    return true;
  }

  // The user picks the leading seat on the table. Returns the seat 1..4, or 0
  // when the wait was cut short.
  virtual int ChooseLeader() = 0;

  // The user deals the tiles by hand into Hand and SeatTileCount. Returns true
  // once every seat holds seven tiles; false when the deal should be made at
  // random instead (the rule was switched to "Aleatorio", or the table cannot
  // deal by hand) or the wait was cut short.
  virtual bool RunManualDeal() = 0;

  // The sound, when sound is on; returns at once.
  virtual void PlaySound(Sound sound) = 0;

  // Espera: n hundredths of a second at game speed 0.
  virtual void Wait(int hundredths) = 0;

  // The recorder list gets the line of move `move` (line `move` - 1), which is
  // selected; any lines after it belong to moves taken back and are dropped.
  virtual void RecorderLineAdded(int move, const std::string& text) = 0;

  // Whether anything shows the recorder lines. A table without a move list
  // (the simulator untraced, a server's table) says no, and the lines, whose
  // fitted names cost more than the move itself, are never made.
  virtual bool ShowsRecorderLines() const { return true; }

  // Selects line `index` of the recorder list; -1 selects none.
  virtual void RecorderSelect(int index) = 0;

  // The user agreed to keep the finished match in the history of matches.
  virtual void AppendHistory() = 0;
};

}  // namespace tarvelis
