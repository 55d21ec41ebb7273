// A list that shows a window of its rows, in a dialog drawn by hand: which
// row comes first as the wheel turns, a chat that follows its newest line
// until the player scrolls back, and where the thin mark saying which part is
// shown lies. Pure arithmetic, shared by the window and the tests.
#pragma once

namespace tarvelis {

// The first row that still fills the window of `shown` rows out of `count`.
int LastFirstRow(int count, int shown);

// `first` kept between the top and the last full window.
int ClampFirstRow(int first, int count, int shown);

// A chat's window: at the bottom it follows each new line; scrolled up, it
// keeps the lines it shows while more arrive, and follows again once the
// player scrolls back to the bottom.
struct FollowingScroll {
  int First = 0;
  bool AtBottom = true;

  // Lines came at the end and the oldest `dropped` of them left the front
  // (a list that keeps only its last lines); there are `count` now.
  void Arrived(int dropped, int count, int shown);
  // The wheel or a key moved the window by `rows` (negative: back).
  void Scroll(int rows, int count, int shown);
  // Lines went from anywhere (a person muted): the window kept inside.
  void Fit(int count, int shown);
};

// The scroll mark, in the track's own pixels from its top.
struct ScrollMark {
  int Y = 0;
  int H = 0;
};

// The mark for rows `first`.. of `count` in a track `trackH` high, never
// shorter than `least` (the track's height when everything is shown).
ScrollMark MarkOfRows(int trackH, int first, int shown, int count, int least);

}  // namespace tarvelis
