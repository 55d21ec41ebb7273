// The colours shared by several pictures, so that tiles, pips and buttons
// agree with one another.
#pragma once

#include <QColor>

namespace artgen {

// The ivory of every tile face. Pip cells are painted on exactly this colour,
// and every face is exactly this colour where the pips are copied.
inline const QColor kIvory(0xF6, 0xF1, 0xE2);
inline const QColor kIvoryLight(0xFF, 0xFD, 0xF6);
inline const QColor kIvoryShade(0xE4, 0xDA, 0xC0);
inline const QColor kEdgeLight(0xDE, 0xD2, 0xB2);
inline const QColor kEdgeDark(0xB3, 0xA2, 0x7C);
inline const QColor kOutline(0x2A, 0x21, 0x15);
inline const QColor kDividerDark(0x9E, 0x8F, 0x6E);
inline const QColor kBrassLight(0xF7, 0xDA, 0x86);
inline const QColor kBrassDark(0x8E, 0x69, 0x1E);
inline const QColor kPipBlack(0x12, 0x12, 0x14);

// Backs: a deep lacquered red with gold lines.
inline const QColor kBackLight(0x9A, 0x1E, 0x2C);
inline const QColor kBackDark(0x52, 0x08, 0x12);
inline const QColor kGold(0xD9, 0xB1, 0x54);
inline const QColor kGoldDark(0x8C, 0x64, 0x1C);

// Buttons: warm cream lacquer with a brown rim.
inline const QColor kButtonTop(0xFF, 0xF9, 0xEA);
inline const QColor kButtonBottom(0xE2, 0xCC, 0x98);
inline const QColor kButtonRim(0x4A, 0x36, 0x1C);

}  // namespace artgen
