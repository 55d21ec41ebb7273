// The network window's layout, shared by the file that handles its input and
// the one that draws it: rectangles in the window's own pixels (blown up with
// the table) and its inks.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <string>

#include "model/game_state.h"

namespace tarvelis::network_layout {

// The layout, in the window's own pixels; blown up with the table.
constexpr int kWidth = 520;
constexpr int kHeight = 456;  // fits the smallest table, 640 x 480
constexpr int kTitleH = 26;
constexpr int kMargin = 16;
constexpr int kFieldX = 110;
constexpr int kRowY[4] = {66, 92, 118, 144};  // server; rules or code; name; seat
constexpr QRect kCreateTab(kMargin, 34, 160, 24);
constexpr QRect kJoinTab(184, 34, 160, 24);
constexpr QRect kFelt(176, 222, 168, 96);
constexpr QRect kStatus(kMargin, 372, kWidth - 2 * kMargin, 36);
constexpr QRect kAction(kWidth / 2 - 96 - 12, 414, 96, 28);
constexpr QRect kExit(kWidth / 2 + 12, 414, 96, 28);
// Beside the seat boxes, on either page.
constexpr QRect kResume(kWidth - kMargin - 200, kRowY[3] - 2, 200, 26);
// The seats where the table has them: 1 left, 2 at the top, 3 right, 4 at the bottom.
constexpr QRect kSeatCard[kSeats + 1] = {QRect(), QRect(kMargin, 248, 150, 44),
                                         QRect(185, 174, 150, 44), QRect(354, 248, 150, 44),
                                         QRect(185, 322, 150, 44)};
// Beside the name, on the create page of a server with a room.
constexpr QRect kPublicCheck(372, kRowY[2], 132, 22);
// Answers come within a moment on any network; a server silent this long is not there.
inline constexpr int kAnswerMs = 5000;

inline const QColor kInk(Qt::black);
inline const QColor kFaultInk(0x9A, 0x1B, 0x1B);
inline const QColor kCard(0xF6, 0xF2, 0xE6);
inline const QColor kOwnFrame(0xC8, 0x9B, 0x2C);
inline const QColor kFeltGreen(0x1E, 0x6B, 0x3A);

inline QString Utf(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline QString Utf(const char* text) {
  return QString::fromUtf8(text);
}

inline QRect SeatBox(int seat) {
  return QRect(kFieldX + 34 * (seat - 1), kRowY[3], 28, 22);
}

}  // namespace tarvelis::network_layout
