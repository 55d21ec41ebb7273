// The classic pip arrangements and the look of one pip, shared by the tile
// strips and by the little dominoes of the icons.
#pragma once

#include <QPainter>
#include <QPointF>
#include <vector>

namespace artgen {

// Pip centres of value 1..6 on a unit grid (-1, 0, +1 on each axis), for a
// half of an upright tile; `flat` turns the pattern a quarter turn, for the
// halves of a tile lying flat.
std::vector<QPointF> PipGrid(int pips, bool flat);

// One drilled black pip of radius r: a faint light lip below right, a dark
// body lit from the top left, and (when `shine`) a small highlight.
void DrawPip(QPainter& p, QPointF centre, double r, bool shine);

// All pips of one half whose square has its centre at `centre`; `step` is the
// distance from the centre to the outer rows.
void DrawPipPattern(QPainter& p, int pips, bool flat, QPointF centre, double step, double r,
                    bool shine);

}  // namespace artgen
