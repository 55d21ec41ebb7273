// The review's entry of the options menu and its line over the move list.
#include <gtest/gtest.h>

#include "layout/button_bar.h"
#include "layout/options_menu_rules.h"
#include "layout/recorder_layout.h"

namespace tarvelis {
namespace {

// Offered wherever the click falls while the recorder is on, unless the hand
// is being reviewed or its review is still whole; no other entry changes.
TEST(HandReviewMenu, OfferedWithTheRecorderOnOnly) {
  using S = HandReviewStatus;
  struct Case {
    bool recorderOn, busy, inHand;
    S review;
    bool offered;
  } const cases[] = {
      {true, false, false, S::kNone, true},     {true, false, true, S::kNone, true},
      {true, false, false, S::kRunning, false}, {true, false, true, S::kDone, false},
      {false, false, false, S::kNone, false},   {true, true, false, S::kNone, false}};
  for (const Case& c : cases) {
    GameState s;
    s.MatchInProgress = s.HandInProgress = s.NoticeShown = true;
    s.RecorderOn = c.recorderOn;
    s.RecorderBusy = c.busy;
    s.MoveNumber = s.LiveMoveNumber = 9;
    OptionFlags on = EnabledOptions(s, TableModes{}, c.inHand, c.review);
    EXPECT_EQ(on[kAnalyseHand], c.offered) << c.recorderOn << c.busy << c.inHand;
    on[kAnalyseHand] = false;
    EXPECT_EQ(on, EnabledOptions(s, TableModes{}, c.inHand, S::kRunning));
  }
}

// The line and the wider list keep clear of each other, the hands, the panel
// and the help button on every table size, and the list keeps three lines.
TEST(HandReviewLayout, LineAndWideListKeepClear) {
  const auto overlap = [](const Rect& a, const Rect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
  };
  for (auto [w, h] : {std::pair{640, 480}, {800, 600}, {1024, 768}, {1920, 1080}}) {
    const TableGeometry g = ComputeTableGeometry(w, h);
    const ButtonPlace help = PlaceOfButton(1, g);
    for (const bool tall : {false, true}) {
      SCOPED_TRACE(std::to_string(w) + (tall ? " tall" : " normal"));
      const Rect list = MoveListRect(g, tall, true);
      const Rect line = ReviewLineRect(g, tall);
      const Rect plain = MoveListRect(g, tall);
      EXPECT_TRUE(line.x == list.x && line.w == list.w && list.w >= plain.w);
      EXPECT_TRUE(line.y + line.h <= list.y && line.y + 20 >= list.y) << "right over the list";
      EXPECT_EQ(list.y + list.h, plain.y + plain.h);
      EXPECT_GE(list.h, 40);
      for (const Rect& r : {list, line}) {
        EXPECT_FALSE(overlap(r, RecorderPanelRect(g)) || overlap(r, HandArea(g, 4)) ||
                     overlap(r, Rect{help.x, help.y, help.w, help.h}));
        EXPECT_FALSE(!tall && overlap(r, HandArea(g, 1)));
      }
    }
  }
}

}  // namespace
}  // namespace tarvelis
