// Opening the settings window: building both pages and painting the window
// once, as a press on button 3 does before the user sees it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>

#include "dialogs/settings_window.h"
#include "model/game_state.h"

namespace tarvelis {
namespace {

void BM_OpenSettingsWindow(benchmark::State& bench) {
  GameState s;
  ApplyDefaults(s);
  for (auto _ : bench) {
    Personal window(s, SettingsHooks{}, std::filesystem::temp_directory_path());
    QImage shown = window.grab().toImage();
    benchmark::DoNotOptimize(shown.constBits());
  }
}
BENCHMARK(BM_OpenSettingsWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvelis

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
