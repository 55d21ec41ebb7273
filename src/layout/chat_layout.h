// Where the table's chat goes on a networked table: in the band below the
// chain's reach and left of the bottom hand, the one stretch of the table
// that neither a hand nor the chain ever takes, at any table size. A small
// table folds it to one row (the last line said, then the line to write);
// while the move list shows, it keeps to the band's part right of the list,
// or only its button stays when that part is too narrow.
#pragma once

#include "layout/hand_layout.h"
#include "model/table_geometry.h"

namespace tarvelis {

// The rectangle the chain may reach: between the side hands, from a little
// below the top edge to just above the bottom hand. Every chain the spiral
// lays stays inside it.
Rect ChainReach(const TableGeometry& g);

// Table pixels of one chat line and of the line to write.
inline constexpr int kChatLinePx = 14;
inline constexpr int kChatInputPx = 18;
inline constexpr int kChatMostLines = 4;

struct ChatPlace {
  Rect Toggle;          // the button that hides and shows the chat; empty with no room for it
  Rect Lines;           // the last lines said; empty when folded or left out
  Rect Input;           // the line to write; empty when left out
  int LineCount = 0;    // the lines shown above the input
  bool Folded = false;  // the last line and the input share one row
  bool operator==(const ChatPlace&) const = default;
};

// The chat's place on table `g`; `moveList` is the move list's rectangle
// while it shows, or null.
ChatPlace PlaceChat(const TableGeometry& g, const Rect* moveList = nullptr);

// Whether two rectangles share a pixel.
bool Overlap(const Rect& a, const Rect& b);

}  // namespace tarvelis
