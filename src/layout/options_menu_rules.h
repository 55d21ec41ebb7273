// Which entries of the table's options menu a right click offers.
#pragma once

#include <array>

#include "model/game_state.h"
#include "model/table_modes.h"
#include "model/texts.h"

namespace tarvelis {

enum OptionEntry : int {
  kSaveGame = 0,       // "Guardar este juego"
  kLoadGame = 1,       // "Cargar un juego guardado"
  kDeleteGame = 2,     // "Borrar un juego guardado"
  kOrderTiles = 3,     // "Ordenar fichas"
  kTurnTiles = 4,      // "Girar fichas"
  kAnalyseHand = 5,    // "Analizar la mano"
  kWindowedTable = 6,  // "Mesa en una ventana (F11)": full screen or a window, in turn
  kClassicTable = 7,   // "Mesa clásica, sin ampliar": one table pixel per screen pixel
  kNetworkPlay = 8,    // "Jugar en red": create or join a table on a server
  kOptionEntries = 9
};

// The entries' texts are kOptionTexts (model/texts).
static_assert(std::size(kOptionTexts) == kOptionEntries);

using OptionFlags = std::array<bool, kOptionEntries>;

// Where the review of the hand on the table stands.
enum class HandReviewStatus : int {
  kNone,     // never asked for this hand, or the hand has changed since
  kRunning,  // being weighed now
  kDone,     // done, and it covers every move of the hand as it stands
};

// The menu opens only while play stands still for the user: no match, the
// recorder on, or the continue button waiting. `inHand` tells whether the
// click fell on a hand. All false means no menu. "Analizar la mano" is
// offered wherever the click falls while the recorder is on, unless the hand
// is being reviewed already or its review is still whole. How the table is
// shown may be changed wherever "Borrar un juego guardado" is offered while
// the recorder is off; so may a table on a server be created or joined, unless
// the table is one already.
OptionFlags EnabledOptions(const GameState& state, const TableModes& modes, bool inHand,
                           HandReviewStatus review = HandReviewStatus::kNone);

// Carries out "Ordenar fichas" or "Girar fichas": each switches its own mode
// and switches the other off.
void ToggleArrangeMode(TableModes& modes, OptionEntry entry);

}  // namespace tarvelis
