#include "layout/chat_layout.h"

#include <algorithm>

namespace tarvelis {
namespace {

constexpr int kMargin = 6;
constexpr int kGap = 3;
constexpr int kTogglePx = kChatInputPx;
// Narrower than this, the lines and the input share one row.
constexpr int kLeastWideBox = 200;
// Narrower than this, not even one row reads: only the button stays.
constexpr int kLeastRow = 110;
// The chain's highest tile stays this far from the top edge.
constexpr int kChainTop = 32;
// The chain stops this far above the bottom hand.
constexpr int kAboveBottomHand = 5;

}  // namespace

bool Overlap(const Rect& a, const Rect& b) {
  return a.w > 0 && a.h > 0 && b.w > 0 && b.h > 0 && a.x < b.x + b.w && b.x < a.x + a.w &&
         a.y < b.y + b.h && b.y < a.y + a.h;
}

Rect ChainReach(const TableGeometry& g) {
  const Rect left = HandArea(g, 1);
  const Rect bottom = HandArea(g, 4);
  const int x = left.x + left.w;
  return Rect{x, kChainTop, g.ScreenWidthPx - 2 * x + 2, bottom.y - kAboveBottomHand - kChainTop};
}

ChatPlace PlaceChat(const TableGeometry& g, const Rect* moveList) {
  ChatPlace p;
  const Rect reach = ChainReach(g);
  const Rect bottom = HandArea(g, 4);
  const Rect left = HandArea(g, 1);
  // The band: below the chain and the left hand, left of the bottom hand.
  int x0 = kMargin;
  const int x1 = bottom.x - kMargin;
  const int y0 = std::max(reach.y + reach.h, left.y + left.h) + kGap;
  const int y1 = g.ScreenHeightPx - kMargin;
  if (moveList != nullptr && moveList->w > 0 && moveList->y < y1) {
    x0 = std::max(x0, moveList->x + moveList->w + kMargin);
  }
  // The button sits at the band's bottom left, the input right of it; with
  // no room even for the button, the key alone hides and shows the chat.
  if (x1 - x0 < kTogglePx) return p;
  p.Toggle = Rect{x0, y1 - kTogglePx, kTogglePx, kTogglePx};
  const int rowX = x0 + kTogglePx + kGap;
  const int width = x1 - rowX;
  if (width < kLeastRow || y1 - y0 < kChatInputPx) return p;
  const int rows = std::min(kChatMostLines, (y1 - y0 - kChatInputPx - kGap) / kChatLinePx);
  if (width < kLeastWideBox || rows < 2) {
    // One row: the last line said on the left, the input on the right.
    p.Folded = true;
    p.LineCount = 1;
    const int half = width / 2;
    p.Lines = Rect{rowX, y1 - kChatInputPx, half - kGap, kChatInputPx};
    p.Input = Rect{rowX + half, y1 - kChatInputPx, width - half, kChatInputPx};
    return p;
  }
  p.LineCount = rows;
  p.Input = Rect{rowX, y1 - kChatInputPx, width, kChatInputPx};
  p.Lines = Rect{rowX, p.Input.y - kGap - rows * kChatLinePx, width, rows * kChatLinePx};
  return p;
}

}  // namespace tarvelis
