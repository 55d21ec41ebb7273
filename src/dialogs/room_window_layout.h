// The room window's layout, shared by its input and its drawing: rectangles
// in the window's own pixels, blown up with the table. It fits the smallest
// table, 640 x 480.
#pragma once

#include <QColor>
#include <QRect>
#include <cstdint>
#include <iterator>

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
// Rows of the lists that scroll, inside their panels' frames.
inline constexpr int kTableRows = kList.height() / kTableRowH;
inline constexpr int kPeopleRows = (kPeople.height() - 4) / kLineH;
inline constexpr int kChatRows = (kChat.height() - 4) / kLineH;
// The lines a notch of the wheel moves the people and the chat by.
inline constexpr int kWheelLines = 3;
// The scroll mark: its width at the panel's right edge, its least height.
inline constexpr int kMarkW = 3;
inline constexpr int kMarkLeast = 8;

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

// The keyboard's round through the window, in reading order: the fields and
// "Entrar" beside them, the tables, the right column's buttons, the chat's
// field and the two buttons beside it, and the offer under the chat (the way
// back shares its place and is never offered with it).
enum class Stop : std::uint8_t { kServer, kName, kList, kChat, kButton };
struct FocusStop {
  Stop Kind;
  RoomWindow::Button Which = RoomWindow::Button::kCount;
};
inline constexpr FocusStop kFocusRing[] = {
    {Stop::kServer},
    {Stop::kName},
    {Stop::kButton, RoomWindow::Button::kEnter},
    {Stop::kList},
    {Stop::kButton, RoomWindow::Button::kQuick},
    {Stop::kButton, RoomWindow::Button::kWatch},
    {Stop::kButton, RoomWindow::Button::kSit},
    {Stop::kButton, RoomWindow::Button::kCreate},
    {Stop::kButton, RoomWindow::Button::kJoinCode},
    {Stop::kButton, RoomWindow::Button::kBoard},
    {Stop::kButton, RoomWindow::Button::kOwnPage},
    {Stop::kChat},
    {Stop::kButton, RoomWindow::Button::kMute},
    {Stop::kButton, RoomWindow::Button::kExit},
    {Stop::kButton, RoomWindow::Button::kFill},
    {Stop::kButton, RoomWindow::Button::kResume},
};
inline constexpr int kFocusStops = static_cast<int>(std::size(kFocusRing));

// The place of a stop in the round, -1 for none.
inline constexpr int RingIndex(Stop kind, RoomWindow::Button which = RoomWindow::Button::kCount) {
  for (int i = 0; i < kFocusStops; ++i) {
    if (kFocusRing[i].Kind == kind && kFocusRing[i].Which == which) return i;
  }
  return -1;
}

inline const QColor kInk(Qt::black);
inline const QColor kFaultInk(0x9A, 0x1B, 0x1B);
inline const QColor kCard(0xF6, 0xF2, 0xE6);
inline const QColor kChosen(0xE8, 0xDC, 0xB0);
inline const QColor kChosenFrame(0xC8, 0x9B, 0x2C);
inline const QColor kFreeInk(0x1E, 0x6B, 0x3A);
inline const QColor kQuietInk(0x60, 0x60, 0x60);
// The keyboard's mark on a button or the list: gold, as a chosen chair.
inline const QColor kFocusInk(0xF2, 0xC9, 0x4C);

}  // namespace tarvelis::room_layout
