// How the table is shown on a screen or in a window. The game is laid out on
// a logical table (the classic pixel sizes the layout rules were made for) and
// drawn blown up by one factor, centred, with the marble filling whatever
// margin the window's shape leaves. Pure arithmetic: the window scales its
// picture and maps every pointer position back with these functions.
#pragma once

#include "layout/hand_layout.h"

namespace tarvelis {

// How the table fills the screen: blown up to fit (the default), or the
// classic look, one table pixel to one screen pixel however large the screen.
enum class TableLook : int { kScaled = 0, kClassic = 1 };

// The largest table the layout is made for; a larger screen shows this
// table's height blown up, and its own width in proportion.
inline constexpr int kClassicWidth = 1024;
inline constexpr int kClassicHeight = 768;

struct TableSize {
  int w = 0;
  int h = 0;
  bool operator==(const TableSize&) const = default;
};

// The logical table laid out for a screen of width x height. A screen up to
// 1024 x 768 in either direction, or the classic look, gets a table of its own
// size (factor 1, exactly as the layout rules draw it); a larger one gets a
// table 768 high, as wide as the screen's shape allows.
TableSize LogicalTableFor(int screenW, int screenH, TableLook look);

// Where a logical table lies in an area of the window: its top left corner
// and the factor from table pixels to window pixels.
struct TableView {
  int TableW = 800;
  int TableH = 600;
  double Factor = 1.0;
  double OffsetX = 0.0;
  double OffsetY = 0.0;
};

// The table blown up (or shrunk) by the largest factor that fits the area
// whole, centred in it. With `unscaled` the factor stays 1 and the table sits
// at the top left, as the classic full screen shows it.
TableView FitTable(TableSize table, int areaW, int areaH, bool unscaled);

// A window position (in window pixels, fractions allowed) back on the table:
// the table pixel under it. Points in the margin map outside the table.
Point ToTable(const TableView& view, double x, double y);

// A table rectangle in window pixels, rounded outwards so that it covers every
// window pixel the table rectangle touches.
Rect ToWindow(const TableView& view, const Rect& r);

// The edge of table pixel v at a scale of `scale` picture pixels per table
// pixel: rectangles that touch on the table touch in the picture too.
int ScaledEdge(int v, double scale);

}  // namespace tarvelis
