// The running score printed on the face of the score button. The numbers keep
// the places the button's design gives them while they fit; a number that
// would touch its neighbour or the frame is printed smaller, never cut.
#pragma once

#include <QImage>
#include <QPoint>

#include "model/game_state.h"

namespace tarvelis {

// Prints the score of `state` on the button whose top left corner is `button`.
void PaintScore(QImage& surface, QPoint button, const GameState& state);

// The smallest size the score is ever printed at, in pixels.
inline constexpr int kSmallestScorePx = 8;

}  // namespace tarvelis
