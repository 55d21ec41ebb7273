// The tutor (button 4): the computer works out the move it would make for the
// seat to move, at full strength, and the table points at that tile with the
// marker Ima_IndiTuto, blinking three times with sound 12; for a tile that
// fits either end, the arrow of the end to choose blinks with it. Nothing is
// played: the user plays the tile as usual.
#pragma once

#include <functional>

#include "layout/tutor_layout.h"
#include "model/game_state.h"

namespace tarvelis {

class Mesa;

// Shows the suggestion and returns where its marks went (Seat 0: the seat
// cannot play, and nothing was shown). `whileShown` runs each time the marks
// are up, for whoever wants to look at them.
TutorMarks ShowTutor(GameState& state, Mesa& mesa, const std::function<void()>& whileShown = {});

}  // namespace tarvelis
