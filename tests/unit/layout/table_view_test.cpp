#include "layout/table_view.h"

#include <gtest/gtest.h>

namespace tarvelis {
namespace {

TEST(TableView, ClassicScreensKeepTheirOwnTableAndLargerOnesAreBlownUp) {
  struct Case {
    int w, h;
    TableLook look;
    TableSize table;
  } cases[] = {
      {640, 480, TableLook::kScaled, {640, 480}},
      {800, 600, TableLook::kScaled, {800, 600}},
      {1024, 768, TableLook::kScaled, {1024, 768}},
      {1280, 720, TableLook::kScaled, {1280, 720}},
      {1920, 1080, TableLook::kScaled, {1365, 768}},
      {3840, 2160, TableLook::kScaled, {1365, 768}},
      {2048, 1536, TableLook::kScaled, {1024, 768}},
      {1920, 1200, TableLook::kScaled, {1228, 768}},
      {1920, 1080, TableLook::kClassic, {1920, 1080}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LogicalTableFor(c.w, c.h, c.look), c.table) << c.w << "x" << c.h;
  }
}

TEST(TableView, PointerPositionsMapBackToTheTablePixelUnderThem) {
  // Full screen at 1920 x 1080: factor 1080 / 768 and no margin worth a pixel.
  const TableView full = FitTable({1365, 768}, 1920, 1080, false);
  EXPECT_DOUBLE_EQ(full.Factor, 1.40625);
  EXPECT_EQ(full.OffsetY, 0);
  // A window wider than the table's shape: marble on the left and right.
  const TableView wide = FitTable({800, 600}, 1000, 600, false);
  EXPECT_EQ(wide.Factor, 1.0);
  EXPECT_EQ(wide.OffsetX, 100);
  // A window taller than the table's shape, shrunk below the table's size.
  const TableView tall = FitTable({800, 600}, 400, 600, false);
  EXPECT_DOUBLE_EQ(tall.Factor, 0.5);
  EXPECT_EQ(tall.OffsetY, 150);
  const TableView classic = FitTable({1920, 1080}, 1920, 1080, true);

  struct Case {
    const TableView& view;
    double x, y;
    Point table;
  } cases[] = {
      {full, 0, 0, {0, 0}},
      {full, 1.40, 1.40, {0, 0}},       // still inside the first table pixel
      {full, 1.41, 1.41, {1, 1}},       // the next one
      {full, 1919, 1079, {1364, 767}},  // the last one
      {wide, 99, 300, {-1, 300}},       // the margin lies off the table
      {wide, 100, 300, {0, 300}},
      {tall, 399, 449.9, {798, 599}},
      {tall, 200, 149, {400, -2}},
      {classic, 1919, 1079, {1919, 1079}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToTable(c.view, c.x, c.y), c.table) << c.x << "," << c.y;
    // Every table rectangle covers the window pixels its table pixels fill,
    // so redrawing it leaves nothing stale at its edges.
    if (c.table.x >= 0 && c.table.y >= 0) {
      const Rect r = ToWindow(c.view, Rect{c.table.x, c.table.y, 1, 1});
      EXPECT_TRUE(r.Contains(Point{static_cast<int>(c.x), static_cast<int>(c.y)}))
          << c.x << "," << c.y;
    }
  }
}

}  // namespace
}  // namespace tarvelis
