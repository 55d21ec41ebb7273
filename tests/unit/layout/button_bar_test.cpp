#include "layout/button_bar.h"

#include <gtest/gtest.h>

#include "layout/recorder_layout.h"

namespace tarvelis {
namespace {

bool Overlap(const Rect& a, const Rect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

Rect ButtonRect(const ButtonPlace& p) {
  return Rect{p.x, p.y, p.w, p.h};
}

// The move list, normal or tall, keeps clear of the recorder panel, the help
// button and the left and bottom hands with their names on every table size.
TEST(MoveList, KeepsClearOfTheTable) {
  for (auto [w, h] : {std::pair{640, 480}, {800, 600}, {1024, 768}, {1920, 1080}}) {
    const TableGeometry g = ComputeTableGeometry(w, h);
    for (const bool tall : {false, true}) {
      const Rect list = MoveListRect(g, tall);
      EXPECT_LE(list.y + list.h, h);
      EXPECT_GE(list.h, 64);
      for (const Rect r :
           {RecorderPanelRect(g), ButtonRect(PlaceOfButton(kHelpButton, g)), HandArea(g, 1),
            WholeNameArea(g, 1), HandArea(g, 4), SpacedNameStrip(g, 4)}) {
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
  TableModes networked;
  networked.Networked = true;
  for (int n = 1; n <= kBarButtons; ++n) {
    EXPECT_EQ(ButtonEnabled(s, networked, n), n != kTutorButton && n != kSettingsButton) << n;
  }
  const TableGeometry g = ComputeTableGeometry(800, 600);
  EXPECT_EQ(ButtonAt(g, 5 + 10, 80 + 10), 1);
  EXPECT_EQ(ButtonAt(g, 800 - 135, 4), 4);
  EXPECT_EQ(ButtonAt(g, 400, 300), 0);
}

}  // namespace
}  // namespace tarvelis
