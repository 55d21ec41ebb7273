// The room window's layout, shared by its input and its drawing: rectangles
// in the window's own pixels, blown up with the table. It fits the smallest
// table, 640 x 480.
#pragma once

#include <QColor>
#include <QRect>

#include "dialogs/room_window.h"

namespace tarvelis::room_layout {

inline constexpr int kWidth = 620;
inline constexpr int kHeight = 456;
inline constexpr int kTitleH = 26;
inline constexpr int kMargin = 12;
inline constexpr int kColumnX = 444;  // the right column: buttons and people
inline constexpr int kColumnW = kWidth - kMargin - kColumnX;
inline constexpr int kLeftW = kColumnX - 8 - kMargin;
inline constexpr int kFieldY = 32;
inline constexpr QRect kServerField(82, kFieldY, 152, 22);
inline constexpr QRect kNameField(302, kFieldY, 134, 22);
inline constexpr QRect kList(kMargin, 78, kLeftW, 184);
inline constexpr int kTableRowH = 46;
inline constexpr int kLineH = 14;
inline constexpr QRect kChat(kMargin, 286, kLeftW, 112);
inline constexpr QRect kChatField(kMargin, 402, kLeftW, 22);
inline constexpr QRect kStatus(kMargin, 428, kLeftW, 26);
inline constexpr QRect kPeople(kColumnX, 262, kColumnW, 136);
inline constexpr int kButtonH = 22;

inline QRect ButtonRect(RoomWindow::Button b) {
  using B = RoomWindow::Button;
  const int half = (kColumnW - 6) / 2;
  switch (b) {
    case B::kEnter:
      return QRect(kColumnX, kFieldY, kColumnW, kButtonH);
    case B::kMute:
      return QRect(kColumnX, 402, half, kButtonH);
    case B::kExit:
      return QRect(kColumnX + half + 6, 402, kColumnW - half - 6, kButtonH);
    case B::kFill:
    case B::kResume:
      // Beside the line that offers it, under the chat: never both at once.
      return QRect(kMargin + kLeftW - 216, 430, 216, kButtonH);
    default:
      break;
  }
  // The room's own buttons, one under another down the right column.
  const int i = static_cast<int>(b) - static_cast<int>(B::kQuick);
  return QRect(kColumnX, 62 + i * 26, kColumnW, kButtonH);
}

inline const QColor kInk(Qt::black);
inline const QColor kFaultInk(0x9A, 0x1B, 0x1B);
inline const QColor kCard(0xF6, 0xF2, 0xE6);
inline const QColor kChosen(0xE8, 0xDC, 0xB0);
inline const QColor kChosenFrame(0xC8, 0x9B, 0x2C);
inline const QColor kFreeInk(0x1E, 0x6B, 0x3A);
inline const QColor kQuietInk(0x60, 0x60, 0x60);

}  // namespace tarvelis::room_layout
