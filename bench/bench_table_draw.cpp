// Frame cost of the table: redrawing the whole table of a hand in play at
// 1920 x 1080 from the state (background, chain, hands, names, buttons), and
// putting that picture on the window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>

#include "engine/headless_play.h"
#include "layout/table_view.h"
#include "table/qt_table_port.h"
#include "table/table_window.h"

namespace tarvelis {
namespace {

GameState HandInPlay(int width, int height, int moves) {
  GameState s;
  ApplyDefaults(s);
  s.Table = ComputeTableGeometry(width, height);
  PlayHeadlessTo(s, moves, 21);
  return s;
}

void BM_RedrawWholeTable(benchmark::State& bench) {
  const int width = static_cast<int>(bench.range(0));
  const int height = static_cast<int>(bench.range(1));
  GameState s = HandInPlay(width, height, 16);
  Mesa mesa(s);
  mesa.LayOut();
  QImage window(width, height, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : bench) {
    mesa.Painter().DrawAll();
    QPainter(&window).drawImage(0, 0, mesa.Surface());
    benchmark::DoNotOptimize(window.constBits());
  }
}
BENCHMARK(BM_RedrawWholeTable)->Args({1920, 1080})->Args({800, 600})->Unit(benchmark::kMillisecond);

// The table blown up to a 3840 x 2160 screen: laid out for its classic-sized
// table and drawn at 2.8 picture pixels per table pixel, every piece at the
// screen's own pixels.
void BM_RedrawScaledTable(benchmark::State& bench) {
  const int width = static_cast<int>(bench.range(0));
  const int height = static_cast<int>(bench.range(1));
  const TableSize table = LogicalTableFor(width, height, TableLook::kScaled);
  GameState s = HandInPlay(table.w, table.h, 16);
  Mesa mesa(s);
  mesa.resize(width, height);
  mesa.LayOut();
  // The format of the X server's window pixels at 24 bits.
  QImage window(width, height, QImage::Format_RGB32);
  const QRectF all(0, 0, width, height);
  for (auto _ : bench) {
    mesa.Painter().DrawAll();
    QPainter(&window).drawImage(all, mesa.Surface(), all);
    benchmark::DoNotOptimize(window.constBits());
  }
  bench.counters["scale"] = mesa.PictureScale();
}
BENCHMARK(BM_RedrawScaledTable)
    ->Args({3840, 2160})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond);

// One step of a travelling tile on the shown table blown up to the screen:
// the window repaints the rectangle the tile leaves and enters. The tile is
// due every StepSeconds (12 ms at the default speed of 50); a step drawn in
// less than that is never late, since each step waits for its own time.
void BM_TravelStep(benchmark::State& bench) {
  const int width = static_cast<int>(bench.range(0));
  const int height = static_cast<int>(bench.range(1));
  const TableSize table = LogicalTableFor(width, height, TableLook::kScaled);
  GameState s = HandInPlay(table.w, table.h, 16);
  Mesa mesa(s);
  mesa.resize(width, height);
  mesa.LayOut();
  mesa.show();
  QCoreApplication::processEvents();
  const QImage tile = mesa.Painter().ComposeTile(1);
  QPoint at(table.w / 4, table.h / 2);
  mesa.ShowMover(tile, at);
  mesa.ShowNow();
  int step = 8;
  for (auto _ : bench) {
    if (at.x() > table.w * 3 / 4 || at.x() < table.w / 4) step = -step;
    at += QPoint(step, 0);
    mesa.MoveMover(at);
  }
  bench.counters["due_ms"] = QtTablePort::StepSeconds(50) * 1000;
}
BENCHMARK(BM_TravelStep)->Args({3840, 2160})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

void BM_RedrawOneHand(benchmark::State& bench) {
  GameState s = HandInPlay(1920, 1080, 16);
  Mesa mesa(s);
  mesa.LayOut();
  for (auto _ : bench) mesa.Painter().DrawHand(4);
}
BENCHMARK(BM_RedrawOneHand)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarvelis

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
