// Stepping through a hand with the recorder: from the last move of a 28-move
// hand back to the lead and forward again, the whole table redrawn after each
// step and put on a 1920 x 1080 window. One benchmark iteration is one step,
// so the reported time is the time of a step; the median of the repetitions
// is the figure to quote (a run back is meant to be bound by its pause of 27
// hundredths, never by drawing).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>

#include "engine/headless_play.h"
#include "engine/headless_port.h"
#include "engine/recorder.h"
#include "model/move_record.h"
#include "table/table_window.h"

namespace tarvelis {
namespace {

constexpr int kMoves = 28;

// The first seed whose first hand is still going after 28 moves.
GameState HandOf28Moves(int width, int height) {
  for (std::uint32_t seed = 1;; ++seed) {
    GameState s;
    ApplyDefaults(s);
    s.RuleFirstLead = kFirstLeadDraw;
    s.Table = ComputeTableGeometry(width, height);
    PlayHeadlessTo(s, kMoves, seed);
    if (s.HandInProgress && s.HandNumber == 1 && s.MoveNumber == kMoves + 1) return s;
  }
}

void BM_RecorderStep(benchmark::State& bench) {
  GameState s = HandOf28Moves(1920, 1080);
  s.NoticeShown = true;
  Mesa mesa(s);
  mesa.LayOut();
  // The engine's side of a step without the pauses and the animation: what
  // is measured is the step itself and the redraw of the table.
  HeadlessPort port(&s);
  Recorder recorder(s, port, mesa.Modes());
  if (!recorder.Press(RecorderControl::kSwitch, true)) {
    bench.SkipWithError("the recorder did not switch on");
    return;
  }
  QImage window(1920, 1080, QImage::Format_ARGB32_Premultiplied);
  bool back = true;
  for (auto _ : bench) {
    if (back && s.MoveNumber <= 1) back = false;
    if (!back && s.MoveNumber >= s.LiveMoveNumber) back = true;
    if (back) {
      RetrocedeJugada(s, &port);
    } else {
      AvanzaJugada(s, &port);
    }
    mesa.Painter().DrawAll();
    benchmark::DoNotOptimize(MoveListLines(s));
    QPainter(&window).drawImage(0, 0, mesa.Surface());
    benchmark::DoNotOptimize(window.constBits());
  }
  bench.counters["moves"] = kMoves;
}
BENCHMARK(BM_RecorderStep)->Iterations(2 * kMoves)->Repetitions(15)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvelis

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
