// What the history viewer prints on its folder, page by page, and where its
// page corners are: the window only paints these lines and routes clicks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/history_file.h"
#include "storage/history_totals.h"

namespace tarvelis {

// The folder picture, in its own pixels.
inline constexpr int kFolderWidth = 372;
inline constexpr int kFolderHeight = 290;
// The page corners: 25 pixels wide, in the bottom 16 rows.
inline constexpr int kCornerWidth = 25;
inline constexpr int kCornerHeight = 16;
// The text's line height on the folder, and the rows of a match.
inline constexpr int kFolderLineHeight = 13;
inline constexpr int kMatchRowsTop = 21;
inline constexpr int kMatchRowsStep = 2 * kFolderLineHeight + 4;

enum class TextAlign : std::uint8_t { Left, Centre, Right };
enum class LineStyle : std::uint8_t {
  Header,  // bold black
  Entry,   // blue italic
  Title,   // bold, the totals' section title
};

// A text printed at (X, Y), its top; X is its left edge, its middle or its
// right edge by Align.
struct PageLine {
  int X = 0, Y = 0;
  TextAlign Align = TextAlign::Left;
  LineStyle Style = LineStyle::Entry;
  std::string Text;  // UTF-8

  bool operator==(const PageLine&) const = default;
};

// The header and the matches first .. first + 7 of `newestFirst`: per match
// the date, the winners and their points on one line, the time, the losers
// and their points on the next.
std::vector<PageLine> MatchesPage(const std::vector<HistoryMatch>& newestFirst, int first);

// ListaTotales: the title and column header of the section of entry `first`,
// then the entries first .. first + 7; blank entries print nothing.
std::vector<PageLine> ListaTotales(const std::vector<TotalEntry>& totals, int first);

enum class Corner : std::uint8_t { None, Previous, Next };

// The page corner under (x, y) of the folder.
Corner CornerAt(int x, int y);

// Whether a corner turns to a page that exists: the next page when entry
// first + 8 exists, the previous one when first - 8 is not negative.
bool CornerUsable(Corner corner, int first, int count);

// The first entry of the page the corner turns to.
int TurnPage(Corner corner, int first);

}  // namespace tarvelis
