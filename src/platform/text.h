// Text on the table's images, always DejaVu Sans at fixed pixel sizes so that
// the look never changes with the desktop's font settings. The game's two
// sizes are 8.25 pt (11 px) and 9 pt (12 px) at 96 dots per inch.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

namespace tarvelis {

inline constexpr int kSmallTextPx = 11;  // 8.25 pt
inline constexpr int kTextPx = 12;       // 9 pt

QFont GameFont(int pixelSize, bool bold);

// Draws `text` with its top left corner at (x, y), the way the game prints at
// a pixel position.
void DrawText(QImage& image, int x, int y, const QString& text, int pixelSize, bool bold,
              const QColor& colour);

int TextWidth(const QString& text, int pixelSize, bool bold);
int TextHeight(int pixelSize, bool bold);

// True when the font the system gives for DejaVu Sans measures so differently
// from DejaVu Sans that the table's texts would overflow their places (the
// font is missing and a much wider one stands in).
bool TableFontWouldDrawWrong();

}  // namespace tarvelis
