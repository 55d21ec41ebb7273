// Small drawings shared by the buttons, the message pictures and the cover.
#pragma once

#include <QPainter>
#include <QRectF>

namespace artgen {

// A little domino of the game's own look, upright in `r` (width about half
// the height), turned by `degrees` about its centre, with `a` pips on the
// upper half and `b` on the lower.
void DrawMiniDomino(QPainter& p, const QRectF& r, int a, int b, double degrees);

// A toothed gear centred on c: outer radius r, `teeth` teeth, a hole.
void DrawGear(QPainter& p, QPointF c, double r, int teeth, QColor light, QColor dark,
              double degrees);

// A lit light bulb whose glass is centred on c with radius r.
void DrawBulb(QPainter& p, QPointF c, double r);

// A glossy disc of radius r with a gradient from `light` to `dark`.
void DrawDisc(QPainter& p, QPointF c, double r, QColor light, QColor dark);

// A bold white sign (a letter) centred on c, with a soft shadow.
void DrawSign(QPainter& p, QPointF c, int pixelSize, const QString& sign);

// The cream lacquered body of a button in `r`, with gloss and a rim.
void DrawButtonBody(QPainter& p, const QRectF& r, double radius);

}  // namespace artgen
