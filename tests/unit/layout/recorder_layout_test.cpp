#include "layout/recorder_layout.h"

#include <gtest/gtest.h>

#include "layout/button_bar.h"
#include "layout/tutor_layout.h"

namespace tarvelis {
namespace {

bool Overlap(const Rect& a, const Rect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

Rect Place(const ButtonPlace& p) {
  return Rect{p.x, p.y, p.w, p.h};
}

// Every control answers over its whole area, bounds included, and not one
// pixel beyond; where two areas share a column the left one answers there.
TEST(RecorderLayout, ControlsAnswerInsideTheirAreasOnly) {
  struct Probe {
    int x, y, control;
  };
  // clang-format off
  const Probe probes[] = {
      {6, 6, 6}, {44, 19, 6}, {5, 10, 0}, {45, 10, 0}, {20, 5, 0}, {20, 20, 0},   // the switch: 6..44 x 6..19
      {4, 25, 1}, {25, 38, 1}, {3, 30, 0}, {10, 24, 0}, {10, 39, 0},             // one back: 4..25 x 25..38
      {26, 25, 2}, {46, 38, 2}, {47, 30, 0},                                     // one forward: 25..46 x 25..38
      {4, 41, 3}, {25, 54, 3}, {3, 45, 0}, {10, 40, 0}, {10, 55, 0},             // run back: 4..25 x 41..54
      {26, 41, 4}, {46, 54, 4}, {47, 45, 0},                                     // run forward: 25..46 x 41..54
      {14, 57, 5}, {35, 70, 5}, {13, 60, 0}, {36, 60, 0}, {20, 56, 0}, {20, 71, 0},  // play on: 14..35 x 57..70
  };
  // clang-format on
  for (const Probe& p : probes) {
    EXPECT_EQ(RecorderControlAt(Point{p.x, p.y}), p.control) << p.x << "," << p.y;
  }
}

// The panel sits at the bottom right; the list, normal or tall, keeps clear of
// the panel, the left and bottom hands with their names and the help button on
// every table size.
TEST(RecorderLayout, PanelAndListKeepClearOfTheTable) {
  for (auto [w, h] : {std::pair{640, 480}, {800, 600}, {1024, 768}, {1920, 1080}}) {
    const TableGeometry g = ComputeTableGeometry(w, h);
    const Rect panel = RecorderPanelRect(g);
    EXPECT_EQ(panel, (Rect{w - 58, h - 76, 51, 74}));
    for (const bool tall : {false, true}) {
      const Rect list = MoveListRect(g, tall);
      EXPECT_FALSE(Overlap(list, panel));
      EXPECT_FALSE(Overlap(list, Place(PlaceOfButton(1, g)))) << w << " tall " << tall;
      EXPECT_LE(list.y + list.h, h);
      EXPECT_GE(list.h, 64);
      // Nor the left and bottom hands and their names.
      for (const Rect r :
           {HandArea(g, 1), WholeNameArea(g, 1), HandArea(g, 4), SpacedNameStrip(g, 4)}) {
        EXPECT_FALSE(Overlap(list, r)) << w << " tall " << tall;
      }
    }
    EXPECT_GT(MoveListRect(g, true).h, MoveListRect(g, false).h);
  }
}

// With the recorder on nothing may start a match, change the settings or ask
// the tutor; help, exit and the score stay. The tutor serves a manual seat
// whose turn it is while play waits.
TEST(ButtonBar, WhichButtonsTakePresses) {
  GameState s;
  ApplyDefaults(s);
  s.MatchInProgress = s.HandInProgress = s.NoticeShown = true;
  s.MoveNumber = 5;
  s.CurrentSeat = 4;
  s.SeatControl[4] = kManual;
  for (int n = 1; n <= kBarButtons; ++n) EXPECT_TRUE(ButtonEnabled(s, {}, n)) << n;
  s.RecorderOn = true;
  for (int n = 1; n <= kBarButtons; ++n) EXPECT_EQ(ButtonEnabled(s, {}, n), n == 1 || n >= 5) << n;
  s.RecorderOn = false;
  s.RecorderBusy = true;
  EXPECT_FALSE(ButtonEnabled(s, {}, 2));
  s.RecorderBusy = false;
  struct Case {
    const char* why;
    void (*spoil)(GameState&);
  };
  for (const Case c : {Case{"automatic seat", [](GameState& g) { g.SeatControl[4] = kAutomatic; }},
                       Case{"play not waiting", [](GameState& g) { g.NoticeShown = false; }},
                       Case{"no hand", [](GameState& g) { g.HandInProgress = false; }}}) {
    GameState spoilt = s;
    c.spoil(spoilt);
    EXPECT_FALSE(ButtonEnabled(spoilt, {}, 4)) << c.why;
    EXPECT_TRUE(ButtonEnabled(spoilt, {}, 2)) << c.why;
  }
  TableModes arrows;
  arrows.WaitingForEnd = true;
  EXPECT_FALSE(ButtonEnabled(s, arrows, 4)) << "end arrows";
  EXPECT_TRUE(ButtonEnabled(s, arrows, 2)) << "end arrows";
  const TableGeometry g = ComputeTableGeometry(800, 600);
  EXPECT_EQ(ButtonAt(g, 5 + 10, 80 + 10), 1);
  EXPECT_EQ(ButtonAt(g, 800 - 135, 4), 4);
  EXPECT_EQ(ButtonAt(g, 400, 300), 0);
}

// The tutor's arrow goes to the chosen end only; no slot, no marks. (Where
// the marker stands beside a hand is checked with the hands' layout.)
TEST(TutorLayout, TheArrowStandsAtTheChosenEnd) {
  GameState s;
  s.EndCol = {0, 480, 320};
  s.EndRow = {0, 250, 250};
  s.EndHeading = {0, kHeadRight, kHeadLeft};
  EXPECT_EQ(PlaceTutorMarks(s, 4, 2, 0).ArrowEnd, 0);
  for (const int end : {1, 2}) {
    const TutorMarks m = PlaceTutorMarks(s, 4, 1, end);
    EXPECT_EQ(m.ArrowEnd, end);
    EXPECT_EQ((Point{m.Arrow.x, m.Arrow.y}), EndArrowPointOf(s, end));
  }
  EXPECT_EQ(PlaceTutorMarks(s, 4, 0, 1).Seat, 0) << "no slot, no marks";
}

}  // namespace
}  // namespace tarvelis
