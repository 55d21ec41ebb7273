// Pic_Grabadora: the recorder panel at the bottom right of the table, with its
// switch and five controls, and the move list it shows. The panel draws and
// routes presses; what a press does is the core recorder's business.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

#include "engine/recorder.h"
#include "layout/options_menu_rules.h"
#include "model/game_state.h"

class QLabel;

namespace tarvelis {

class Mesa;
class HandReviewer;
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

  // "Analizar la mano": reviews every listed move of the hand in the
  // background; the list shows the progress and then the marks.
  void AnalyseHand();
  HandReviewStatus ReviewStatus() const;
  HandReviewer& Reviewer() { return *reviewer_; }
  // The review's line above the list, hidden when there is nothing to say.
  QLabel& ReviewLine() { return *line_; }

 private:
  void DrawPanel();
  void ShowReplayed();
  void UpdateList();
  void Report() const;
  QString ReviewWord() const;
  // Stops a review that no longer belongs to the hand on the table and lays
  // the marks of a finished one on the lines it still holds for, in lines of
  // `columns` characters at most where it can. True when
  // the review has something to show.
  bool FollowReview(std::vector<std::string>& lines, int columns);

  GameState& state_;
  Mesa& mesa_;
  QtTablePort& port_;
  Recorder recorder_;
  MoveList* list_;
  QLabel* line_;
  HandReviewer* reviewer_;
  std::vector<std::string> verdicts_;  // per line, after a review
  std::string summary_;
  int clickedLine_ = -1;  // the line a click asked about, at move clickedAtMove_
  int clickedAtMove_ = 0;
};

}  // namespace tarvelis
