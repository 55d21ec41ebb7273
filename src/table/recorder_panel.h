// Pic_Grabadora: the recorder panel at the bottom right of the table, with its
// switch and five controls, and the move list it shows. The panel draws and
// routes presses; what a press does is the core recorder's business.
#pragma once

#include <QPoint>
#include <QRect>

#include "engine/recorder.h"
#include "model/game_state.h"

namespace tarvelis {

class Mesa;
class MoveList;
class QtTablePort;

class RecorderPanel {
 public:
  RecorderPanel(GameState& state, Mesa& mesa, QtTablePort& port);
  ~RecorderPanel();
  RecorderPanel(const RecorderPanel&) = delete;
  RecorderPanel& operator=(const RecorderPanel&) = delete;

  // The panel is on the table while a hand is being played.
  bool Shown() const;
  QRect Rect() const;
  bool Contains(QPoint at) const { return Shown() && Rect().contains(at); }

  // A press at table point `at`. True when it fell on the panel (whether or
  // not the control under it could act).
  bool Press(QPoint at, Qt::MouseButton button);

  // Play is about to go on from the continue button or a tile. While the
  // recorder is on this is allowed only at the live move, and the recorder is
  // switched off first.
  bool LetPlayGoOn();

  // Draws the panel and brings the list and the continue button up to date.
  void Refresh();

  Recorder& Core() { return recorder_; }
  MoveList& List() { return *list_; }

 private:
  void DrawPanel();
  void UpdateList();
  void Report() const;

  GameState& state_;
  Mesa& mesa_;
  QtTablePort& port_;
  Recorder recorder_;
  MoveList* list_;
};

}  // namespace tarvelis
