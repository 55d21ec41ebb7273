// The start-up cover's scrolling: where its pictures are at each frame and
// when it has run its course. The window only copies the pieces and keeps
// the frames 0.05 s apart on the clock.
#pragma once

#include <array>

#include "layout/artwork_layout.h"

namespace tarvelis {

inline constexpr int kCoverWidth = 290;
inline constexpr int kCoverHeight = 150;
inline constexpr int kCoverStartY = 150;
inline constexpr int kCoverLastY = -200;
inline constexpr int kCoverPasses = 3;
inline constexpr double kCoverFrameSeconds = 0.05;

struct CoverScroll {
  int Y = kCoverStartY;
  int Passes = 0;
  bool Stopped = false;

  // After a frame: one pixel up; below the last place the pictures start
  // again from the bottom, and after the third pass the cover is done.
  void Step();
};

// A piece of the cover strip and its place on the cover.
struct CoverPiece {
  art::Cell From;
  int X, Y;
};

// The logo, the icon beside it and the three title bands below, for the
// scroll position y.
std::array<CoverPiece, 5> CoverPieces(int y);

}  // namespace tarvelis
