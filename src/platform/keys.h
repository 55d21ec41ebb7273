// Keys that type nothing on their own: pressing Shift or Control alone must
// not answer a question or go on with the game.
#pragma once

#include <Qt>

namespace tarvelis {

inline bool IsModifierOnly(int key) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
      return true;
    default:
      return false;
  }
}

}  // namespace tarvelis
