// What the game tells the end-to-end scripts about itself; nothing in play.
// With TARVELIS_TEST_STATUS set to a file, two files are kept:
// - that file: one line saying where the table waits for the user (each
//   report replaces it; ReportTestStatus);
// - the same name with ".open" added: what is open and what became of the
//   user's presses, one "key value" line each:
//     window <title>   a window shown and drawn on the screen, one line each
//     menu 0|1         the table's options menu is up
//     animation 0|1    a paced wait runs (a travelling tile, a selector turning)
//     presses <n>      key and mouse button presses the game took in and is
//                      done with, told once it rests after them (those thrown
//                      away as stale count too; a press on a window a dialog
//                      blocks never reaches it)
//     rested 0|1       the game has rested since its last status line and
//                      the last press it took in: what that line's wait drew
//                      is on the screen, and `presses` counts every press
//   and the lines the table adds (SetOpenProbe).
// The open file is made again whenever the game is about to sleep until
// something happens, and just before every status line, so a status line is
// never newer than the open file beside it. A script that reads `presses`,
// clicks and waits for it to grow by one knows its click was dealt with.
// Both files are replaced whole, never seen half written. Unset, as in play,
// none of it runs.
#pragma once

#include <QStringList>
#include <functional>

class QEvent;
class QObject;

namespace tarvelis {

bool TestStatusWanted();
void ReportTestStatus(const QString& line);

// Lines that the table adds to the open file, asked for each time it is made;
// an empty function takes them away.
void SetOpenProbe(std::function<QStringList()> probe);

// For an input filter that throws a press away: the press still counts as
// dealt with.
void CountPressDropped(const QObject* receiver, const QEvent* event);

// Marks the span of a paced wait in the open file.
class AnimationSpan {
 public:
  AnimationSpan();
  ~AnimationSpan();
  AnimationSpan(const AnimationSpan&) = delete;
  AnimationSpan& operator=(const AnimationSpan&) = delete;
};

}  // namespace tarvelis
