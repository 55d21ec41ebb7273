#include "storage/history_pages.h"

#include "model/texts.h"

namespace tarvelis {
namespace {

// Columns of the folder: the date at 22, the time at 35, the names at 90, the
// points centred on 325; the totals right-aligned at 340.
constexpr int kHeaderX = 18;
constexpr int kDateX = 22;
constexpr int kTimeX = 35;
constexpr int kNamesX = 90;
constexpr int kPointsX = 325;
constexpr int kTotalsX = 340;
constexpr int kTitleY = 6;
constexpr int kTotalsHeaderY = 24;
constexpr int kTotalsTop = 46;

// The words of a header laid out with runs of spaces, without those spaces:
// the folder's font is not the one the spaces were counted for, so each word
// goes to its column instead.
std::vector<std::string> HeaderWords(const std::string& header) {
  std::vector<std::string> words;
  size_t p = header.find_first_not_of(' ');
  while (p != std::string::npos) {
    size_t gap = header.find("  ", p);
    words.push_back(header.substr(p, gap == std::string::npos ? std::string::npos : gap - p));
    p = gap == std::string::npos ? gap : header.find_first_not_of(' ', gap);
  }
  return words;
}

PageLine Line(int x, int y, TextAlign align, LineStyle style, std::string text) {
  return PageLine{x, y, align, style, std::move(text)};
}

std::string Joined(const std::string& a, const std::string& b, const char* between) {
  return a + between + b;
}

void AddMatch(std::vector<PageLine>& lines, const HistoryMatch& m, int y) {
  const auto& n = m.Names;
  const auto& p = m.Points;
  const int y2 = y + kFolderLineHeight;
  lines.push_back(Line(kDateX, y, TextAlign::Left, LineStyle::Entry, m.Date()));
  // A match played at a server's table says so after its winners.
  lines.push_back(Line(
      kNamesX, y, TextAlign::Left, LineStyle::Entry,
      (m.Pairs ? Joined(n[0], n[1], " y ") : n[0]) + (m.Networked ? kHistoryNetworkMark : "")));
  lines.push_back(Line(kPointsX, y, TextAlign::Centre, LineStyle::Entry, std::to_string(p[0])));
  lines.push_back(Line(kTimeX, y2, TextAlign::Left, LineStyle::Entry, m.Time()));
  if (m.Pairs) {
    lines.push_back(
        Line(kNamesX, y2, TextAlign::Left, LineStyle::Entry, Joined(n[2], n[3], " y ")));
    lines.push_back(Line(kPointsX, y2, TextAlign::Centre, LineStyle::Entry, std::to_string(p[1])));
  } else {
    lines.push_back(
        Line(kNamesX, y2, TextAlign::Left, LineStyle::Entry, n[1] + ", " + n[2] + " y " + n[3]));
    lines.push_back(
        Line(kPointsX, y2, TextAlign::Centre, LineStyle::Entry,
             std::to_string(p[1]) + "-" + std::to_string(p[2]) + "-" + std::to_string(p[3])));
  }
}

// A section's title and its column header.
std::vector<PageLine> TotalsHeading(int section) {
  const std::vector<std::string> words = HeaderWords(kTotalsHeader[section]);
  return {
      Line(kFolderWidth / 2, kTitleY, TextAlign::Centre, LineStyle::Title, kTotalsTitle[section]),
      Line(kNamesX, kTotalsHeaderY, TextAlign::Left, LineStyle::Header, words[0]),
      Line(kTotalsX, kTotalsHeaderY, TextAlign::Right, LineStyle::Header, words[1]),
  };
}

PageLine NothingYet(int y) {
  return Line(kFolderWidth / 2, y, TextAlign::Centre, LineStyle::Entry, kEmptyHistoryText);
}

}  // namespace

std::vector<PageLine> MatchesPage(const std::vector<HistoryMatch>& newestFirst, int first) {
  const std::vector<std::string> words = HeaderWords(kMatchesHeader);
  std::vector<PageLine> lines = {
      Line(kHeaderX, kTitleY, TextAlign::Left, LineStyle::Header, words[0]),
      Line(kNamesX, kTitleY, TextAlign::Left, LineStyle::Header, words[1]),
      Line(kPointsX, kTitleY, TextAlign::Centre, LineStyle::Header, words[2]),
  };
  const int count = static_cast<int>(newestFirst.size());
  if (count == 0) lines.push_back(NothingYet(kMatchRowsTop + kFolderLineHeight));
  for (int i = 0; i < kHistoryPageSize && first + i < count; ++i) {
    if (first + i < 0) continue;
    AddMatch(lines, newestFirst[first + i], kMatchRowsTop + i * kMatchRowsStep);
  }
  return lines;
}

std::vector<PageLine> ListaTotales(const std::vector<TotalEntry>& totals, int first) {
  std::vector<PageLine> lines;
  const int count = static_cast<int>(totals.size());
  // An empty history still shows what its totals will be, and why they are empty.
  if (count == 0 && first == 0) {
    lines = TotalsHeading(1);
    lines.push_back(NothingYet(kTotalsTop));
    return lines;
  }
  if (first < 0 || first >= count) return lines;
  const int section = totals[first].Section;
  if (section < 1 || section > kTotalsSections) return lines;
  lines = TotalsHeading(section);
  for (int i = 0; i < kHistoryPageSize && first + i < count; ++i) {
    const TotalEntry& e = totals[first + i];
    if (e.Section == 0) continue;
    const int y = kTotalsTop + i * kMatchRowsStep;
    const bool pair = e.Section >= 3;
    lines.push_back(Line(kNamesX, y, TextAlign::Left, LineStyle::Entry,
                         pair ? Joined(e.Name, e.Partner, " y ") : e.Name));
    lines.push_back(Line(kTotalsX, y, TextAlign::Right, LineStyle::Entry, std::to_string(e.Total)));
  }
  return lines;
}

Corner CornerAt(int x, int y) {
  if (y < kFolderHeight - kCornerHeight || y > kFolderHeight) return Corner::None;
  if (x >= 0 && x <= kCornerWidth) return Corner::Previous;
  if (x >= kFolderWidth - kCornerWidth && x <= kFolderWidth) return Corner::Next;
  return Corner::None;
}

bool CornerUsable(Corner corner, int first, int count) {
  switch (corner) {
    case Corner::Next:
      return first + kHistoryPageSize < count;
    case Corner::Previous:
      return first - kHistoryPageSize >= 0;
    default:
      return false;
  }
}

int TurnPage(Corner corner, int first) {
  if (corner == Corner::Next) return first + kHistoryPageSize;
  if (corner == Corner::Previous) return first - kHistoryPageSize;
  return first;
}

}  // namespace tarvelis
