// Drawing helpers shared by every picture of the generator. Each object is
// first painted with antialiasing on a transparent layer; the layer is then
// split into the two cells of a masked copy, or flattened on a colour.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>

#include "layout/artwork_layout.h"

namespace artgen {

using tarvelis::art::Cell;

// The strips' pixels per pixel of the layout: 1 for the strips the layout's
// cells are measured in, more for the sharper copies a large screen uses.
// Layers and strips are sized in layout pixels and carry the scale as their
// device pixel ratio, so every drawing is the same at any scale.
int Scale();
void SetScale(int scale);

// A transparent layer of w x h pixels, ready for antialiased painting.
QImage NewLayer(int w, int h);

// A strip of w x h pixels filled with opaque black: what an empty image cell
// must hold so that a masked copy leaves the table untouched.
QImage NewStrip(int w, int h);

// Splits `layer` into a masked-copy pair. Pixels at least half covered belong
// to the object: black in the mask, and in the image their colour laid over
// `rim` (so antialiased edges blend into a dark outline, never into the
// table). Everything else is white in the mask and black in the image.
void PutMasked(QImage& strip, const QImage& layer, Cell image, Cell mask,
               QColor rim = QColor(0x20, 0x1A, 0x12));

// Flattens `layer` on `background` and copies it into `at`: an opaque picture.
void PutOpaque(QImage& strip, const QImage& layer, Cell at, QColor background);

// Copies the `source` cell of `from` onto the `to` cell of `strip`, pixel for
// pixel at the current scale.
void CopyPixels(QImage& strip, const QImage& from, Cell source, Cell to);

// A painter with antialiasing on, the usual way every picture is drawn.
void BeginPainter(QPainter& p, QImage& image);

// DejaVu Sans (or Bold) at a pixel size, loaded from the Debian font files so
// that the look never depends on the desktop's font settings.
QFont DejaVu(int pixelSize, bool bold, bool condensed = false);

// Draws `text` centred on (cx, baseline y) with a dark outline of `outline`
// pixels around the fill: the look of every title of the game.
void OutlinedText(QPainter& p, const QFont& font, const QString& text, double cx, double baseline,
                  const QBrush& fill, QColor outline, double outlineWidth);

// Writes `image` as PNG, opaque formats as RGB32 and the rest as ARGB32, and
// exits with a message when it cannot.
void SavePng(const QImage& image, const QString& path);

}  // namespace artgen
