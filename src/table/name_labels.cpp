#include "table/name_labels.h"

#include "platform/text.h"

namespace tarvelis {

QString FitToWidth(const QString& text, int width, int pixelSize, bool bold) {
  QString shown = text;
  while (!shown.isEmpty() && TextWidth(shown, pixelSize, bold) > width) {
    shown.chop(1);
    // A surrogate pair or a combining mark never loses half of itself.
    while (!shown.isEmpty() && (shown.back().isHighSurrogate() || shown.back().isMark()))
      shown.chop(1);
  }
  return shown;
}

}  // namespace tarvelis
