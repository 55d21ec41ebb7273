// Where the recorder panel and the move list lie on the table, and which of
// the panel's controls a point falls on. Pure arithmetic for the window.
#pragma once

#include "layout/hand_layout.h"
#include "model/table_geometry.h"

namespace tarvelis {

// Control numbers: 1 one move back, 2 one move forward, 3 run back, 4 run
// forward, 5 play on from here, as the artwork numbers their areas; 6 the switch.
inline constexpr int kRecorderSwitchControl = 6;

// The panel, at the bottom right corner of the table.
Rect RecorderPanelRect(const TableGeometry& g);

// The control under a point given in the panel's own pixels (bounds
// inclusive), or 0.
int RecorderControlAt(Point local);

// The move list at the bottom left corner, clear of the left hand; the tall
// list reaches up to just under the help button. While a review of the hand
// is shown the list is wider, where the table has room, so every line keeps
// its loss in view beside the scroll bar.
Rect MoveListRect(const TableGeometry& g, bool tall, bool review = false);

// The review's line ("Analizando la mano: 12 de 28", "Mejor 6-3: ..."): just
// above the list, as wide as it, in the room under the left hand when there
// is some, otherwise taken from the top of the list, which is shortened.
Rect ReviewLineRect(const TableGeometry& g, bool tall);

}  // namespace tarvelis
