// The room's lists that scroll and its keyboard round: the window kept in
// range, the chat following its newest line unless scrolled back, the mark
// inside its track, and Tab going round the stops that take the keyboard.
#include "layout/list_scroll.h"

#include <gtest/gtest.h>

#include <array>

#include "layout/focus_ring.h"

namespace tarvelis {
namespace {

TEST(ListScroll, TheWindowStaysInsideTheRows) {
  EXPECT_EQ(ClampFirstRow(-3, 20, 7), 0);
  EXPECT_EQ(ClampFirstRow(5, 20, 7), 5);
  EXPECT_EQ(ClampFirstRow(14, 20, 7), 13);  // the last full window
  EXPECT_EQ(ClampFirstRow(4, 5, 7), 0);     // everything fits: nothing to scroll
  EXPECT_EQ(ClampFirstRow(4, 0, 7), 0);
  EXPECT_EQ(LastFirstRow(7, 7), 0);
  EXPECT_EQ(LastFirstRow(8, 7), 1);
}

TEST(ListScroll, TheChatFollowsItsNewestLineUntilScrolledBack) {
  constexpr int kShown = 7;
  FollowingScroll chat;
  int count = 0;
  for (; count < 12; ++count) chat.Arrived(0, count + 1, kShown);
  EXPECT_TRUE(chat.AtBottom);
  EXPECT_EQ(chat.First, 5);

  // Scrolled back, the lines shown stay while more arrive...
  chat.Scroll(-3, count, kShown);
  EXPECT_FALSE(chat.AtBottom);
  EXPECT_EQ(chat.First, 2);
  chat.Arrived(0, ++count, kShown);
  chat.Arrived(0, ++count, kShown);
  EXPECT_EQ(chat.First, 2);
  EXPECT_FALSE(chat.AtBottom);
  // ...even when the chat is full and its oldest line leaves the front.
  chat.Arrived(1, count, kShown);
  EXPECT_EQ(chat.First, 1);

  // Scrolled past the bottom, it stops there and follows again.
  chat.Scroll(50, count, kShown);
  EXPECT_TRUE(chat.AtBottom);
  EXPECT_EQ(chat.First, count - kShown);
  chat.Arrived(0, ++count, kShown);
  EXPECT_EQ(chat.First, count - kShown);

  // Lines gone from anywhere (a person muted): the window kept inside.
  chat.Scroll(-100, count, kShown);
  chat.Scroll(6, count, kShown);
  chat.Fit(8, kShown);
  EXPECT_EQ(chat.First, 1);
  EXPECT_TRUE(chat.AtBottom);
  chat.Fit(3, kShown);
  EXPECT_EQ(chat.First, 0);
}

TEST(ListScroll, TheMarkRunsTheTrackFromTopToBottom) {
  constexpr int kTrack = 108;
  // Everything shown: the whole track.
  EXPECT_EQ(MarkOfRows(kTrack, 0, 7, 5, 8).H, kTrack);
  for (const int count : {8, 20, 100, 5000}) {
    const int last = LastFirstRow(count, 7);
    for (const int first : {0, 1, last / 2, last - 1, last}) {
      const ScrollMark m = MarkOfRows(kTrack, first, 7, count, 8);
      EXPECT_GE(m.Y, 0) << count << " " << first;
      EXPECT_GE(m.H, 8) << count;
      EXPECT_LE(m.Y + m.H, kTrack) << count << " " << first;
    }
    EXPECT_EQ(MarkOfRows(kTrack, 0, 7, count, 8).Y, 0);
    const ScrollMark end = MarkOfRows(kTrack, last, 7, count, 8);
    EXPECT_EQ(end.Y + end.H, kTrack) << count;
    // More rows, a shorter mark.
    EXPECT_LE(MarkOfRows(kTrack, 0, 7, count * 2, 8).H, MarkOfRows(kTrack, 0, 7, count, 8).H);
  }
}

TEST(FocusRing, TabGoesRoundTheOpenStopsBothWays) {
  // A window's round: two fields, a closed button, the list, two buttons.
  std::array<bool, 6> open = {true, true, false, true, false, true};
  const auto next = [&](int from, bool forward) { return NextFocusStop(open, from, forward); };
  EXPECT_EQ(next(1, true), 3);  // over the closed button
  EXPECT_EQ(next(3, true), 5);
  EXPECT_EQ(next(5, true), 0);  // round the end
  EXPECT_EQ(next(0, false), 5);
  EXPECT_EQ(next(3, false), 1);
  // From a stop that has just closed, on to the next open one.
  EXPECT_EQ(next(2, true), 3);
  EXPECT_EQ(next(4, false), 3);
  // From nowhere: Tab at the top, Shift+Tab at the bottom.
  EXPECT_EQ(next(-1, true), 0);
  EXPECT_EQ(next(-1, false), 5);
  // The only open stop keeps the keyboard; with none, there is nowhere to go.
  open = {false, false, false, true, false, false};
  EXPECT_EQ(next(3, true), 3);
  EXPECT_EQ(next(0, false), 3);
  open.fill(false);
  EXPECT_EQ(next(3, true), -1);
  EXPECT_EQ(NextFocusStop({}, -1, true), -1);
}

}  // namespace
}  // namespace tarvelis
