#include "layout/cover_scroll.h"

namespace tarvelis {

void CoverScroll::Step() {
  if (Stopped) return;
  --Y;
  if (Y < kCoverLastY) {
    Y = kCoverStartY;
    if (++Passes >= kCoverPasses) Stopped = true;
  }
}

std::array<CoverPiece, 5> CoverPieces(int y) {
  return {{
      {art::kCoverLogo, 27, y},
      {art::kCoverIcon, 210, y + 4},
      {art::kCoverTitleBand[1], 27, y + 54},
      {art::kCoverTitleBand[2], 25, y + 101},
      {art::kCoverTitleBand[3], 27, y + 121},
  }};
}

}  // namespace tarvelis
