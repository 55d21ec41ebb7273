// The one drawing primitive of the table: a raster copy of a rectangle between
// two ARGB32 images with one of four operations on the colour bits. Tiles,
// backs, pips and buttons are all composed with it: a mask copied with And
// cuts a black hole, the picture copied with Xor fills it and leaves the
// surroundings (black in the picture) untouched.
#pragma once

#include <QImage>

namespace tarvelis {

enum class RasterOp { Copy, And, Xor, InvertDest };

// Copies the w x h rectangle at (sx, sy) of `src` onto `dst` at (dx, dy),
// clipped to both images. InvertDest ignores `src`. Alpha stays opaque.
void Blit(QImage& dst, int dx, int dy, int w, int h, const QImage& src, int sx, int sy,
          RasterOp op);

// The masked copy used for every shaped picture: mask with And, then picture
// with Xor, both taken from the same strip.
void MaskedBlit(QImage& dst, int dx, int dy, int w, int h, const QImage& strip, int imageX,
                int imageY, int maskX, int maskY);

// Destination inversion of a rectangle: the "played" look of a visible tile.
void InvertRect(QImage& dst, int dx, int dy, int w, int h);

// A sharper copy of `strip`, drawn `scale` pixels for each of its pixels:
// whenever a cell of `strip` is blown up, it is taken from the copy instead.
void UseSharperCopy(const QImage& strip, const QImage& copy, int scale);

// The factor the table is blown up by on the screen; the windows drawn over
// it (the messages) are drawn at the same factor. 1 until the table says.
double WindowScale();
void SetWindowScale(double factor);

// A picture for a window of w x h window pixels whose contents are laid out
// in pixels of their own, blown up by `factor`, on a screen of `ratio` device
// pixels per window pixel. It holds the screen's own pixels (never fewer than
// the layout's), and drawing on it is in the layout's pixels.
QImage ScaledCanvas(int w, int h, double factor, double ratio);

// Loads a picture strip and converts it to the format Blit works on.
QImage LoadStrip(const QString& path);

// The same, with its sharper copy (the same picture drawn `kSharperScale`
// pixels for each, under strips/x3/) taken in when it is there.
inline constexpr int kSharperScale = 3;
QImage LoadSharpStrip(const QString& path);

}  // namespace tarvelis

namespace tarvelis {

// A shaped picture of a strip as an image with transparency, for the pieces
// shown over the table (the travelling tile, the arrows): opaque where the
// mask is black, transparent where it is white.
QImage CutOut(const QImage& strip, int imageX, int imageY, int w, int h, int maskX, int maskY);

// The same shaped picture at `scale` pixels per table pixel, carrying that
// scale as its device pixel ratio: from the strip's sharper copy when it has
// one, with its smoothed edge. At scale 1 it is CutOut's picture.
QImage ShapedPicture(const QImage& strip, int imageX, int imageY, int w, int h, int maskX,
                     int maskY, double scale);

}  // namespace tarvelis
