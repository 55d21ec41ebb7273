// Paced waits and sounds as the engine asks for them. A wait sleeps (it does
// not spin a core) and lets the windows repaint, but runs no input handler,
// so a click cannot change the game in the middle of an animation step.
#pragma once

#include "model/sounds.h"
#include "platform/test_report.h"  // ReportTestStatus, which the waits tell

namespace tarvelis {

struct GameState;

// Espera: n hundredths of a second at game speed 0, none at speed 100.
void Espera(const GameState& state, int hundredths);

// Sleeps for `seconds`, repainting windows meanwhile.
void SleepRepainting(double seconds);

// TocaSonido: plays the sound when sound is on, then lets the windows repaint once.
void TocaSonido(const GameState& state, Sound sound);

// The waits above hold the user's clicks and keys back; they were meant for
// what the table showed then (a notice already dismissed, a tile moving), not
// for what it is about to ask. Everything the user pressed until now is taken
// from the window system and thrown away, while pointer moves and repaints go
// through.
void DropStaleInput();

// A wait of the table for the user (a notice, the end arrows, a message), for
// as long as the object lives. It starts by dropping stale input. While it
// lasts, a press that is the second half of a double click whose first half
// answered the previous wait is thrown away with its release: a double click
// on the continue button never answers the next notice too, which may be the
// user's own turn.
class UserWait {
 public:
  UserWait();
  ~UserWait();
  UserWait(const UserWait&) = delete;
  UserWait& operator=(const UserWait&) = delete;
};

// End-to-end tests ask the game where it waits: with TARVELIS_TEST_STATUS set
// to a file, each report replaces the file's content with one line. Unset, as
// in play, it costs nothing.
bool TestStatusWanted();
void ReportTestStatus(const QString& line);

// True for the events that are the user's own presses: buttons, keys, wheel.
bool IsUserPress(int eventType);

}  // namespace tarvelis
