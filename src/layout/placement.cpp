#include "layout/placement.h"

#include <algorithm>
#include <limits>

#include "layout/artwork_layout.h"
#include "layout/button_bar.h"
#include "layout/recorder_layout.h"

namespace tarvelis {
namespace {

// Candidate places lie on a grid this fine, plus the table's last row and
// column, so a gap only a few pixels wider than the picture is still found.
constexpr int kGrid = 4;

long long SquaredDistance(Point a, Point b) {
  const long long dx = a.x - b.x;
  const long long dy = a.y - b.y;
  return dx * dx + dy * dy;
}

std::vector<int> Steps(int last) {
  std::vector<int> v;
  for (int at = 0; at < last; at += kGrid) v.push_back(at);
  v.push_back(std::max(last, 0));
  return v;
}

}  // namespace

long long CoveredArea(const Rect& a, const Rect& b) {
  const int left = std::max(a.x, b.x);
  const int right = std::min(a.x + a.w, b.x + b.w);
  const int top = std::max(a.y, b.y);
  const int bottom = std::min(a.y + a.h, b.y + b.h);
  if (right <= left || bottom <= top) return 0;
  return static_cast<long long>(right - left) * (bottom - top);
}

Rect PlaceClearOf(const TableGeometry& g, int w, int h, const std::vector<Rect>& keepClear,
                  Point preferred) {
  Rect best{preferred.x, preferred.y, w, h};
  long long bestCovered = std::numeric_limits<long long>::max();
  long long bestDistance = std::numeric_limits<long long>::max();
  for (int y : Steps(g.ScreenHeightPx - h)) {
    for (int x : Steps(g.ScreenWidthPx - w)) {
      const Rect place{x, y, w, h};
      long long covered = 0;
      for (const Rect& r : keepClear) {
        covered += CoveredArea(place, r);
        if (covered > bestCovered) break;
      }
      const long long distance = SquaredDistance(Point{x, y}, preferred);
      if (covered < bestCovered || (covered == bestCovered && distance < bestDistance)) {
        best = place;
        bestCovered = covered;
        bestDistance = distance;
      }
    }
  }
  return best;
}

Rect DominoPlace(const GameState& s, const Rect& continueButton) {
  const TableGeometry& g = s.Table;
  std::vector<Rect> keepClear;
  const int last = std::min<int>(s.MoveNumber, static_cast<int>(s.MoveRecord.size()) - 1);
  for (int m = 1; m <= last; ++m) {
    const MoveEntry& e = s.MoveRecord[m];
    if (e[kFEnd] != 1 && e[kFEnd] != 2) continue;
    keepClear.push_back(Rect{e[kFTileLeft], e[kFTileTop], e[kFTileWidth], e[kFTileHeight]});
  }
  for (int seat = 1; seat <= kSeats; ++seat) {
    keepClear.push_back(HandArea(g, seat));
    keepClear.push_back(WholeNameArea(g, seat));
  }
  for (int n = 1; n <= kBarButtons; ++n) {
    const ButtonPlace b = PlaceOfButton(n, g);
    keepClear.push_back(Rect{b.x, b.y, b.w, b.h});
  }
  keepClear.push_back(continueButton);
  keepClear.push_back(RecorderPanelRect(g));
  const int w = art::kDomino.w;
  const int h = art::kDomino.h;
  const Point preferred{continueButton.x + continueButton.w - w, continueButton.y - h - 8};
  return PlaceClearOf(g, w, h, keepClear, preferred);
}

Point KeepOnTable(const TableGeometry& g, Point p, int w, int h) {
  const int maxX = std::max(g.ScreenWidthPx - w, 0);
  const int maxY = std::max(g.ScreenHeightPx - h, 0);
  return Point{std::clamp(p.x, 0, maxX), std::clamp(p.y, 0, maxY)};
}

}  // namespace tarvelis
