// Seat names are the user's own texts, of any length: each is cut to the room
// its place on the table has, so it never runs over a button or a tile.
#pragma once

#include <QString>

namespace tarvelis {

// The longest beginning of `text` (whole characters) at most `width` pixels
// wide at that size; empty when not even one character fits.
QString FitToWidth(const QString& text, int width, int pixelSize, bool bold);

}  // namespace tarvelis
