// Paced waits and sounds as the engine asks for them. A wait sleeps (it does
// not spin a core) and lets the windows repaint, but runs no input handler,
// so a click cannot change the game in the middle of an animation step.
#pragma once

namespace tarvelis {

struct GameState;

// Espera: n hundredths of a second at game speed 0, none at speed 100.
void Espera(const GameState& state, int hundredths);

// Sleeps for `seconds`, repainting windows meanwhile.
void SleepRepainting(double seconds);

// TocaSonido: plays sound n when sound is on, then lets the windows repaint once.
void TocaSonido(const GameState& state, int n);

}  // namespace tarvelis
