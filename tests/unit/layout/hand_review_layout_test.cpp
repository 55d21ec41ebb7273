// The review's entry of the options menu and its line beside the move list.
#include <gtest/gtest.h>

#include "layout/button_bar.h"
#include "layout/options_menu_rules.h"
#include "layout/recorder_layout.h"

namespace tarvelis {
namespace {

bool Overlap(const Rect& a, const Rect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// "Analizar la mano" is offered while the recorder is on and no review of
// the hand is running or already whole, wherever the click falls.
TEST(HandReviewMenu, OfferedWithTheRecorderOnOnly) {
  using S = HandReviewStatus;
  struct Case {
    bool recorderOn, busy, inHand;
    S review;
    bool offered;
  } const cases[] = {
      {true, false, false, S::kNone, true},     {true, false, true, S::kNone, true},
      {true, false, false, S::kRunning, false}, {true, false, false, S::kDone, false},
      {false, false, false, S::kNone, false},   {true, true, false, S::kNone, false},
  };
  for (const Case& c : cases) {
    GameState s;
    s.MatchInProgress = s.HandInProgress = s.NoticeShown = true;
    s.RecorderOn = c.recorderOn;
    s.RecorderBusy = c.busy;
    s.MoveNumber = s.LiveMoveNumber = 9;
    const OptionFlags on = EnabledOptions(s, c.inHand, c.review);
    EXPECT_EQ(on[kAnalyseHand], c.offered)
        << c.recorderOn << c.busy << c.inHand << static_cast<int>(c.review);
    // The other entries do not depend on the review.
    OptionFlags without = EnabledOptions(s, c.inHand);
    without[kAnalyseHand] = on[kAnalyseHand];
    EXPECT_EQ(on, without);
  }
  EXPECT_STREQ(kOptionTexts[kAnalyseHand], "Analizar la mano");
}

// With a review shown the line and the wider list stay clear of each other,
// the hands, the panel and the help button, on every table size.
TEST(HandReviewLayout, LineAndWideListKeepClear) {
  for (auto [w, h] : {std::pair{640, 480}, {800, 600}, {1024, 768}, {1920, 1080}}) {
    const TableGeometry g = ComputeTableGeometry(w, h);
    const ButtonPlace help = PlaceOfButton(1, g);
    const Rect helpRect{help.x, help.y, help.w, help.h};
    for (const bool tall : {false, true}) {
      SCOPED_TRACE(std::to_string(w) + (tall ? " tall" : " normal"));
      const Rect list = MoveListRect(g, tall, true);
      const Rect line = ReviewLineRect(g, tall);
      const Rect plain = MoveListRect(g, tall);
      EXPECT_FALSE(Overlap(line, list));
      EXPECT_EQ(line.x, list.x);
      EXPECT_EQ(line.w, list.w);
      EXPECT_GE(list.w, plain.w);
      EXPECT_LE(line.y + line.h, list.y);
      EXPECT_GE(line.y, plain.y - 20) << "the line sits right over the list";
      EXPECT_EQ(list.y + list.h, plain.y + plain.h);
      EXPECT_GE(list.h, 40) << "three lines at least";
      for (const Rect& r : {list, line}) {
        EXPECT_FALSE(Overlap(r, RecorderPanelRect(g)));
        EXPECT_FALSE(Overlap(r, HandArea(g, 4)));
        EXPECT_FALSE(Overlap(r, helpRect));
        if (!tall) {
          EXPECT_FALSE(Overlap(r, HandArea(g, 1)));
        }
      }
    }
  }
}

}  // namespace
}  // namespace tarvelis
