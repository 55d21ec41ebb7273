// The ratings the computer plays at on the server: each level of the rules
// player, and the expert, was measured against the others with tarvelis-sim
// (scripts/measure-ratings.sh, docs/RATINGS.md), level 50 held at 1500. A
// person's match against the computer is rated against these fixed figures;
// the computer's own never move.
#pragma once

#include "server/rating.h"

namespace tarvelis::server {

// The rating of a computer seat: the expert's, or that of `level` (0..100,
// clamped), read between the measured levels on a straight line.
Rating FixedRating(bool expert, int level);

}  // namespace tarvelis::server
