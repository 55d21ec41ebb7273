// Where the six buttons of the bar sit on the table and where their pictures
// are in the button strip. Pure arithmetic, shared by the window and the tests.
#pragma once

#include "model/game_state.h"
#include "model/table_geometry.h"
#include "model/table_modes.h"

namespace tarvelis {

// The bar's buttons, numbered as their cells in the button strip.
enum BarButton : int {
  kHelpButton = 1,
  kNewMatchButton = 2,
  kSettingsButton = 3,
  kTutorButton = 4,
  kExitButton = 5,
  kScoreButton = 6,
};
inline constexpr int kBarButtons = kScoreButton;

struct ButtonPlace {
  int x, y, w, h;
};

struct ButtonCell {
  int imageX, imageY, maskX, maskY;
};

ButtonPlace PlaceOfButton(int n, const TableGeometry& g);
ButtonCell CellOfButton(int n);

// The hint shown over each button.
const char* ButtonHint(int n);

// The bar button under table point (x, y), or 0.
int ButtonAt(const TableGeometry& g, int x, int y);

// Whether button n takes presses now; a disabled button shows the no-drop
// pointer and ignores them. While the recorder is on, nothing may start a
// match, change the settings or ask the tutor. The tutor helps a manual seat
// whose turn it is, while play waits for it.
bool ButtonEnabled(const GameState& s, const TableModes& modes, int n);

}  // namespace tarvelis
