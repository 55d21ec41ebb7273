#include "model/table_geometry.h"

#include <algorithm>
#include <cmath>

namespace tarvelis {

int NearestEven(double v) {
  return static_cast<int>(std::nearbyint(v));
}

TableGeometry ComputeTableGeometry(int width, int height) {
  TableGeometry g;
  g.ScreenWidthPx = std::max(width, 640);
  g.ScreenHeightPx = std::max(height, 480);
  const int w = g.ScreenWidthPx;
  const int h = g.ScreenHeightPx;
  g.LowResolution = w < 800;
  g.ChainOriginX = NearestEven(w / 2.0);
  g.ChainOriginY = NearestEven((h - 117) / 2.0 + 20);
  // On a narrow table the side hands sit in fixed rows whatever the height.
  g.T1 = g.LowResolution ? 125 : NearestEven((h - 272) / 2.0);
  g.L2 = NearestEven((w - 270) / 2.0);
  g.L4 = NearestEven((w - 308) / 2.0);

  const int left = g.LowResolution ? 116 : 136;
  const int right = g.LowResolution ? w - 117 : w - 137;
  for (int end = 1; end <= 2; ++end) {
    g.TurnLimit[1][end] = left;
    g.TurnLimit[3][end] = right;
  }
  g.TurnLimit[2][1] = g.ChainOriginY + 117;
  g.TurnLimit[2][2] = 136;
  g.TurnLimit[4][1] = h - 175;
  g.TurnLimit[4][2] = g.ChainOriginY - 97;
  return g;
}

}  // namespace tarvelis
