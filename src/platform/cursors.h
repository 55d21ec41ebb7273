// The game's pointers, from PNG pictures with hot spots in the resources.
#pragma once

#include <QCursor>

class QWidget;

namespace tarvelis {

// The pointer of kind 0..6: 0 the standard arrow, 1 pointing hand, 2 green
// hand, 3 red hand, 4 sorting, 5 turning, 6 closed hand, 7 no-drop.
QCursor CursorOfKind(int kind);

// LoadPointer: gives `target` the pointer of that kind (0 restores the
// standard one).
void LoadPointer(QWidget* target, int kind);

// The hourglass shown while the computer thinks.
QCursor BusyCursor();

}  // namespace tarvelis
