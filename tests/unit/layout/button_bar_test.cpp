#include "layout/button_bar.h"

#include <gtest/gtest.h>

namespace tarvelis {
namespace {

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

}  // namespace
}  // namespace tarvelis
