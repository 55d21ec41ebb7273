// The messages the engine shows, composed from the texts of model/texts.
#pragma once

#include <string>

#include "model/game_state.h"
#include "model/texts.h"
#include "model/trimmed.h"  // Trimmed: a name without the spaces around it

namespace tarvelis {

struct EngineContext;

// A notice through the message dialog.
void Tell(EngineContext& ctx, const std::string& title, const std::string& text);

// A question through the message dialog; true for yes.
bool Ask(EngineContext& ctx, const std::string& title, const std::string& text);

// The end-of-hand texts, built from the state as it stands when they are shown.

// "C i e r r e": the pips each pair or seat holds, and what a tie does.
std::string BlockedHandText(const GameState& state, bool tied);

// "Final de este juego": the points, the tens when scoring by tens, the winners.
std::string HandResultText(const GameState& state, int points, int tens);

// "Final de Partida": who won the match.
std::string MatchResultText(const GameState& state, int winner);

}  // namespace tarvelis
