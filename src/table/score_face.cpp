#include "table/score_face.h"

#include <QFontMetrics>
#include <QRect>
#include <QString>
#include <algorithm>
#include <utility>
#include <vector>

#include "layout/artwork_layout.h"
#include "model/texts.h"
#include "platform/text.h"

namespace tarvelis {
namespace {

const QColor kScoreBlue(0x10, 0x2C, 0xB8);

// Blank columns kept between two numbers side by side, and blank rows
// between two numbers one above the other.
constexpr int kColumnGap = 3;
constexpr int kRowGap = 1;
// The space wanted between the two pair totals where the face has room.
constexpr int kWideGap = 7;

// Where the numbers may print, inside the frame with one pixel to spare.
QRect InkRoom() {
  const art::Cell a = art::kScoreArea;
  return QRect(a.x, a.y, a.w - 1, a.h);
}

enum class Align { kCentre, kLeft, kRight };

// A text placed at x by its centre, its left end or its right end, on a
// baseline that stays put whatever the size.
struct Item {
  QString text;
  int x;
  int baseline;
  bool bold;
  Align align = Align::kCentre;
};

int LeftOf(const Item& it, int px) {
  const int advance = TextWidth(it.text, px, it.bold);
  switch (it.align) {
    case Align::kLeft:
      return it.x;
    case Align::kRight:
      return it.x - advance;
    default:
      return it.x - advance / 2;
  }
}

QRect InkOf(const Item& it, int px) {
  const QFontMetrics m(GameFont(px, it.bold));
  return m.tightBoundingRect(it.text).translated(LeftOf(it, px), it.baseline);
}

bool Apart(const QRect& a, const QRect& b) {
  return a.right() + kColumnGap < b.left() || b.right() + kColumnGap < a.left() ||
         a.bottom() + kRowGap < b.top() || b.bottom() + kRowGap < a.top();
}

// The largest size from `base` down whose inks all lie in the room and keep
// apart from each other.
int FittingSize(const std::vector<Item>& items, int base) {
  for (int px = base; px > kSmallestScorePx; --px) {
    std::vector<QRect> inks;
    bool fits = true;
    for (const Item& it : items) {
      const QRect ink = InkOf(it, px);
      fits = fits && InkRoom().contains(ink);
      for (const QRect& other : inks) fits = fits && Apart(other, ink);
      inks.push_back(ink);
    }
    if (fits) return px;
  }
  return kSmallestScorePx;
}

int BaselineFor(int top, int px, bool bold) {
  return top + QFontMetrics(GameFont(px, bold)).ascent();
}

void Print(QImage& surface, QPoint button, const Item& it, int px, const QColor& colour) {
  const QFontMetrics m(GameFont(px, it.bold));
  DrawText(surface, button.x() + LeftOf(it, px), button.y() + it.baseline - m.ascent(), it.text, px,
           it.bold, colour);
}

}  // namespace

void PaintScore(QImage& surface, QPoint button, const GameState& s) {
  if (s.RuleMode == kModePairs) {
    const int p1 = s.PairTotal[1];
    const int p2 = s.PairTotal[2];
    if (p1 > 99 || p2 > 99) {
      // "N:" and "E:" at the left, each total at the right end of its row.
      const int right = InkRoom().right() + 1;
      const std::vector<Item> rows[2] = {
          {{QString::fromUtf8(kScorePairLabels[1]), 2, BaselineFor(10, kTextPx, true), true,
            Align::kLeft},
           {QString::number(p1), right, BaselineFor(10, kTextPx, true), true, Align::kRight}},
          {{QString::fromUtf8(kScorePairLabels[2]), 2, BaselineFor(26, kTextPx, true), true,
            Align::kLeft},
           {QString::number(p2), right, BaselineFor(26, kTextPx, true), true, Align::kRight}}};
      int px = kTextPx;
      for (const auto& row : rows) px = std::min(px, FittingSize(row, kTextPx));
      for (const auto& row : rows) {
        Print(surface, button, row[0], px, Qt::black);
        Print(surface, button, row[1], px, kScoreBlue);
      }
      return;
    }
    // "N" over pair 1's total and "E" over pair 2's, each underlined.
    constexpr int kLeftColumn = 10;
    constexpr int kRightColumn = 27;
    const int head = BaselineFor(8, kTextPx, true);
    const int rule = BaselineFor(10, kTextPx, true);
    for (const auto& [pair, x] : {std::pair{1, kLeftColumn}, std::pair{2, kRightColumn}}) {
      Print(surface, button, Item{QString::fromUtf8(kScorePairLetters[pair]), x, head, true},
            kTextPx, Qt::black);
      Print(surface, button, Item{QString::fromUtf8(kScoreUnderline), x, rule, true}, kTextPx,
            Qt::black);
    }
    const int numbers = BaselineFor(26, kTextPx, true);
    std::vector<Item> totals = {{QString::number(p1), kLeftColumn, numbers, true},
                                {QString::number(p2), kRightColumn, numbers, true}};
    const int px = FittingSize(totals, kTextPx);
    // Two numbers that only just keep apart move out towards the edges, so
    // the space between them reads wider than the space inside each.
    const QRect room = InkRoom();
    const int gap = InkOf(totals[1], px).left() - InkOf(totals[0], px).right() - 1;
    if (gap < kWideGap) {
      const int want = (kWideGap - gap + 1) / 2;
      totals[0].x -= std::min(want, InkOf(totals[0], px).left() - room.left());
      totals[1].x += std::min(want, room.right() - InkOf(totals[1], px).right());
    }
    for (const Item& it : totals) Print(surface, button, it, px, kScoreBlue);
    return;
  }
  // Each seat's total where the seat sits at the table.
  static const int kAt[kSeats + 1][2] = {{0, 0}, {10, 14}, {19, 4}, {26, 23}, {19, 33}};
  std::vector<Item> totals;
  for (int seat = 1; seat <= kSeats; ++seat) {
    totals.push_back(Item{QString::number(s.SeatTotal[seat]), kAt[seat][0],
                          BaselineFor(kAt[seat][1], kSmallTextPx, false), false});
  }
  const int px = FittingSize(totals, kSmallTextPx);
  for (const Item& it : totals) Print(surface, button, it, px, kScoreBlue);
}

}  // namespace tarvelis
