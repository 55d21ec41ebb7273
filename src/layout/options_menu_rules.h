// Which entries of the table's options menu a right click offers.
#pragma once

#include <array>

#include "model/game_state.h"
#include "model/table_modes.h"

namespace tarvelis {

enum OptionEntry : int {
  kSaveGame = 0,    // "Guardar este juego"
  kLoadGame = 1,    // "Cargar un juego guardado"
  kDeleteGame = 2,  // "Borrar un juego guardado"
  kOrderTiles = 3,  // "Ordenar fichas"
  kTurnTiles = 4,   // "Girar fichas"
  kOptionEntries = 5
};

inline constexpr const char* kOptionTexts[kOptionEntries] = {
    "Guardar este juego", "Cargar un juego guardado", "Borrar un juego guardado", "Ordenar fichas",
    "Girar fichas"};

using OptionFlags = std::array<bool, kOptionEntries>;

// The menu opens only while play stands still for the user: no match, the
// recorder on, or the continue button waiting. `inHand` tells whether the
// click fell on a hand. All false means no menu.
OptionFlags EnabledOptions(const GameState& state, const TableModes& modes, bool inHand);

// Carries out "Ordenar fichas" or "Girar fichas": each switches its own mode
// and switches the other off.
void ToggleArrangeMode(TableModes& modes, OptionEntry entry);

}  // namespace tarvelis
