// The table's fixed geometry, computed once from the screen size when the
// table is laid out: where the chain starts, where each hand lies, and where
// each arm of the chain turns. All in table pixels, origin at the top left.
#pragma once

namespace tarvelis {

struct TableGeometry {
  int ScreenWidthPx = 800;
  int ScreenHeightPx = 600;
  bool LowResolution = false;  // narrower than 800 pixels
  int ChainOriginX = 400;
  int ChainOriginY = 262;  // nearest(261.5), the half going to the even neighbour
  int T1 = 164;            // top of the side hands (seats 1 and 3)
  int L2 = 265;            // left of the top hand (seat 2)
  int L4 = 246;            // left of the bottom hand (seat 4)
  // [heading 1..4][end 1..2]; the defaults are those of an 800 x 600 table, so
  // a default geometry lays a chain exactly as ComputeTableGeometry(800, 600).
  int TurnLimit[5][3] = {{0, 0, 0}, {0, 136, 136}, {0, 379, 136}, {0, 663, 663}, {0, 425, 165}};
  bool operator==(const TableGeometry&) const = default;
};

// Nearest integer, halves to the even neighbour.
int NearestEven(double v);

// The geometry of a table of width x height pixels, each raised to at least
// 640 x 480 first.
TableGeometry ComputeTableGeometry(int width, int height);

}  // namespace tarvelis
