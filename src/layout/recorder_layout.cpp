#include "layout/recorder_layout.h"

#include <algorithm>

#include "layout/artwork_layout.h"
#include "layout/button_bar.h"

namespace tarvelis {
namespace {

constexpr int kListWidth = 178;
constexpr int kListMargin = 6;
constexpr int kListNormalHeight = 118;
constexpr int kListLeastHeight = 64;
constexpr int kListReviewWidth = 218;
constexpr int kReviewLineHeight = 17;
constexpr int kReviewLineGap = 2;

bool Inside(const art::Cell& c, Point p) {
  return p.x >= c.x && p.x <= c.x + c.w - 1 && p.y >= c.y && p.y <= c.y + c.h - 1;
}

}  // namespace

Rect RecorderPanelRect(const TableGeometry& g) {
  return Rect{g.ScreenWidthPx - 58, g.ScreenHeightPx - 76, art::kRecorderPanelOff.w,
              art::kRecorderPanelOff.h};
}

int RecorderControlAt(Point local) {
  if (Inside(art::kRecorderSwitchArea, local)) return kRecorderSwitchControl;
  for (int n = 1; n <= 5; ++n) {
    if (Inside(art::kRecorderControlArea[n], local)) return n;
  }
  return 0;
}

namespace {

Rect PlainListRect(const TableGeometry& g, bool tall) {
  const int bottom = g.ScreenHeightPx - kListMargin;
  if (tall) {
    // From below the help button, right of the left hand and its name; where
    // it reaches over the bottom hand's columns it stops above that hand and
    // its spelt name.
    const ButtonPlace help = PlaceOfButton(kHelpButton, g);
    const Rect name = WholeNameArea(g, 1);
    const int x = std::max(name.x + name.w, HandArea(g, 1).x + HandArea(g, 1).w) + kListMargin;
    const int top = help.y + help.h + kListMargin;
    int end = bottom;
    if (x + kListWidth > HandArea(g, 4).x) end = SpacedNameStrip(g, 4).y - kListMargin;
    return Rect{x, top, kListWidth, end - top};
  }
  // Below the left hand and beside the bottom one, however small the table.
  const Rect left = HandArea(g, 1);
  const int room = bottom - (left.y + left.h + kListMargin);
  const int h = std::clamp(room, kListLeastHeight, kListNormalHeight);
  const int w = std::min(kListWidth, HandArea(g, 4).x - 2 * kListMargin);
  return Rect{kListMargin, bottom - h, w, h};
}

// The line fits above the list without reaching the left hand.
bool LineAboveList(const TableGeometry& g, const Rect& list) {
  const Rect left = HandArea(g, 1);
  return list.y - kReviewLineGap - kReviewLineHeight >= left.y + left.h + kReviewLineGap;
}

}  // namespace

Rect MoveListRect(const TableGeometry& g, bool tall, bool review) {
  Rect r = PlainListRect(g, tall);
  if (!review) return r;
  r.w = std::max(r.w, std::min(kListReviewWidth, HandArea(g, 4).x - 2 * kListMargin));
  if (tall || !LineAboveList(g, r)) {
    r.y += kReviewLineHeight + kReviewLineGap;
    r.h -= kReviewLineHeight + kReviewLineGap;
  }
  return r;
}

Rect ReviewLineRect(const TableGeometry& g, bool tall) {
  const Rect plain = PlainListRect(g, tall);
  const Rect list = MoveListRect(g, tall, true);
  const int top = list.y == plain.y ? plain.y - kReviewLineGap - kReviewLineHeight : plain.y;
  return Rect{list.x, top, list.w, kReviewLineHeight};
}

}  // namespace tarvelis
