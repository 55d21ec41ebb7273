#include "layout/table_view.h"

#include <algorithm>
#include <cmath>

namespace tarvelis {

TableSize LogicalTableFor(int screenW, int screenH, TableLook look) {
  const int w = std::max(screenW, 1);
  const int h = std::max(screenH, 1);
  if (look == TableLook::kClassic || w <= kClassicWidth || h <= kClassicHeight) return {w, h};
  // The factor that brings the screen down to the classic table in its
  // tighter direction; the other direction keeps the screen's shape, so the
  // hands lie along the screen's edges as on a classic screen.
  const double factor =
      std::min(static_cast<double>(w) / kClassicWidth, static_cast<double>(h) / kClassicHeight);
  return {static_cast<int>(std::floor(w / factor + 1e-9)),
          static_cast<int>(std::floor(h / factor + 1e-9))};
}

TableView FitTable(TableSize table, int areaW, int areaH, bool unscaled) {
  TableView v;
  v.TableW = std::max(table.w, 1);
  v.TableH = std::max(table.h, 1);
  if (unscaled || areaW <= 0 || areaH <= 0) return v;
  v.Factor = std::min(static_cast<double>(areaW) / v.TableW, static_cast<double>(areaH) / v.TableH);
  // A window within a pixel of the table's own size shows it unscaled, so a
  // rounding never costs the pixel-for-pixel picture.
  if (std::abs(v.Factor * v.TableW - v.TableW) < 1.0 &&
      std::abs(v.Factor * v.TableH - v.TableH) < 1.0) {
    v.Factor = 1.0;
  }
  v.OffsetX = std::floor((areaW - v.TableW * v.Factor) / 2);
  v.OffsetY = std::floor((areaH - v.TableH * v.Factor) / 2);
  return v;
}

Point ToTable(const TableView& view, double x, double y) {
  return Point{static_cast<int>(std::floor((x - view.OffsetX) / view.Factor)),
               static_cast<int>(std::floor((y - view.OffsetY) / view.Factor))};
}

Rect ToWindow(const TableView& view, const Rect& r) {
  const int left = static_cast<int>(std::floor(view.OffsetX + r.x * view.Factor));
  const int top = static_cast<int>(std::floor(view.OffsetY + r.y * view.Factor));
  const int right = static_cast<int>(std::ceil(view.OffsetX + (r.x + r.w) * view.Factor));
  const int bottom = static_cast<int>(std::ceil(view.OffsetY + (r.y + r.h) * view.Factor));
  return Rect{left, top, right - left, bottom - top};
}

int ScaledEdge(int v, double scale) {
  return static_cast<int>(std::lround(v * scale));
}

}  // namespace tarvelis
