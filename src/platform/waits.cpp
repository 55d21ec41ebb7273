#include "platform/waits.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <chrono>

#include "model/clock.h"
#include "model/game_state.h"
#include "platform/sound.h"

namespace tarvelis {

void SleepRepainting(double seconds) {
  if (seconds <= 0) return;
  const auto end = MonoClock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const auto now = MonoClock::now();
    if (now >= end) break;
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(end - now);
    QThread::usleep(static_cast<unsigned long>(std::min<long long>(left.count(), 5000)));
  }
}

void Espera(const GameState& state, int hundredths) {
  SleepRepainting(WaitSeconds(hundredths, state.GameSpeed));
}

void TocaSonido(const GameState& state, int n) {
  if (state.RuleSound != kOn) return;
  TheSoundPlayer().Play(n);
  // The sound starts and the table repaints, but clicks wait for the turn
  // loop's next yield: a sound plays in the middle of a move, and leaving the
  // program there would save a move half made.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace tarvelis
