#include "engine/score_report.h"

#include <algorithm>

#include "engine/hand_end.h"
#include "engine/hand_messages.h"
#include "model/name_fit.h"
#include "model/texts.h"
#include "model/utf8_text.h"

namespace tarvelis {
namespace {

constexpr int kIndividualWidth = 430;
constexpr int kPairsWidth = 300;
constexpr int kNameColumn = 10;
constexpr int kLeaderColumn = 11;

// The report's font is even, so a name's room is counted in characters: the
// names' columns and the leader's keep one space before the next column.
constexpr int kNameRoom = kNameColumn - 1;

const NameWidth kEvenWidth = [](int, const std::string& text) { return CharacterCount(text); };

// The four seat names as the report writes them, 1-based like the seats.
std::vector<std::string> FittedSeatNames(const GameState& s) {
  std::vector<std::string> names;
  for (int seat = 1; seat <= kSeats; ++seat) names.push_back(Trimmed(s.SeatName[seat]));
  std::vector<std::string> shown = FitNames(names, std::vector<int>(kSeats, kNameRoom), kEvenWidth);
  shown.insert(shown.begin(), std::string());
  return shown;
}

// The leader's name kept by the hand's log, cut as the same seat's name is in
// the header; a name since changed is cut on its own.
std::string LeaderText(const GameState& s, const std::vector<std::string>& fitted,
                       const std::string& leader) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (Trimmed(s.SeatName[seat]) == leader) return fitted[seat];
  }
  return FitNames({leader}, {kNameRoom}, kEvenWidth)[0];
}

std::string PaddedRight(std::string text, int width) {
  const int length = Utf8Length(text);
  if (length < width) text.append(static_cast<size_t>(width - length), ' ');
  return text;
}

// The hand number as the report writes it: "  5", " 12".
std::string HandNumberText(int hand) {
  return (hand < 10 ? "  " : " ") + std::to_string(hand);
}

bool HandHasPoints(const GameState& s, const HandLogEntry& e) {
  if (s.RuleMode == kModePairs) {
    return e.PairUnits[1] != 0 || e.PairTens[1] != 0 || e.PairUnits[2] != 0 || e.PairTens[2] != 0;
  }
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (e.SeatUnits[seat] != 0 || e.SeatTens[seat] != 0) return true;
  }
  return false;
}

void Header(const GameState& s, ScoreReport& r) {
  if (s.RuleMode == kModePairs) {
    r.items.push_back({kReportNumberX, kReportHeaderY, kReportPairsHeader, ReportStyle::kText});
    r.items.push_back({150, kReportHeaderY - 3, "", ReportStyle::kPairLabel1});
    r.items.push_back({230, kReportHeaderY - 3, "", ReportStyle::kPairLabel2});
    return;
  }
  std::string header = kReportSeatsHeader;
  const std::vector<std::string> names = FittedSeatNames(s);
  for (int seat = 1; seat <= kSeats; ++seat) header += PaddedRight(names[seat], kNameColumn);
  r.items.push_back({kReportNumberX, kReportHeaderY, header, ReportStyle::kText});
}

void Scores(const GameState& s, const HandLogEntry& e, int y, ScoreReport& r) {
  const bool tens = s.RuleScoring == kScoreTens;
  if (s.RuleMode == kModePairs) {
    static const int kUnitsX[3] = {0, 142, 221};
    static const int kDashX[3] = {0, 166, 246};
    static const int kTensX[3] = {0, 173, 253};
    static const int kOnlyX[3] = {0, 158, 236};
    for (int p = 1; p <= 2; ++p) {
      if (e.PairUnits[p] == 0) continue;
      if (tens) {
        r.items.push_back({kUnitsX[p], y, RightAligned(e.PairUnits[p], 3)});
        r.items.push_back({kDashX[p], y, "-"});
        r.items.push_back({kTensX[p], y, RightAligned(e.PairTens[p], 3)});
      } else {
        r.items.push_back({kOnlyX[p], y, RightAligned(e.PairUnits[p], 3)});
      }
    }
    return;
  }
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (e.SeatUnits[seat] <= 0) continue;
    if (tens) {
      r.items.push_back({70 * seat + 71, y, RightAligned(e.SeatUnits[seat], 3)});
      r.items.push_back({70 * seat + 94, y, "-"});
      r.items.push_back({70 * seat + 103, y, RightAligned(e.SeatTens[seat], 3)});
    } else {
      r.items.push_back({70 * seat + 86, y, RightAligned(e.SeatUnits[seat], 3)});
    }
  }
}

// The totals line, only once something has been scored; it returns its y.
int Totals(const GameState& s, int y, ScoreReport& r) {
  if (s.RuleMode == kModePairs) {
    if (s.PairTotal[1] == 0 && s.PairTotal[2] == 0) return 0;
    r.items.push_back({158, y, RightAligned(s.PairTotal[1], 3)});
    r.items.push_back({236, y, RightAligned(s.PairTotal[2], 3)});
    return y;
  }
  if (std::all_of(s.SeatTotal.begin() + 1, s.SeatTotal.end(), [](i16 t) { return t == 0; })) {
    return 0;
  }
  for (int seat = 1; seat <= kSeats; ++seat) {
    r.items.push_back({70 * seat + 86, y, RightAligned(s.SeatTotal[seat], 3)});
  }
  return y;
}

}  // namespace

std::string RightAligned(int n, int width) {
  std::string text = std::to_string(n);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

ScoreReport BuildScoreReport(GameState& s) {
  ScoreReport r;
  r.width = s.RuleMode == kModePairs ? kPairsWidth : kIndividualWidth;
  r.items.push_back({kReportNumberX, kReportTitleY, kReportTitle, ReportStyle::kTitle});
  r.items.push_back(
      {kReportNumberX, kReportTargetY, MatchTargetText(s.MatchTarget), ReportStyle::kText});
  Header(s, r);
  RecomputeTotals(s);

  const int last = std::clamp<int>(s.HandNumber, 0, kHandLogSize);
  r.firstHand = last > kReportMaxRows ? last - (kReportMaxRows - 1) : 1;
  int y = kReportFirstRowY;
  const std::vector<std::string> names = FittedSeatNames(s);
  for (int hand = r.firstHand; hand <= last; ++hand) {
    const HandLogEntry& e = s.HandLog[hand];
    if (!HandHasPoints(s, e)) continue;
    r.items.push_back({kReportNumberX, y, HandNumberText(hand)});
    r.items.push_back(
        {kReportLeaderX, y, PaddedRight(LeaderText(s, names, Trimmed(e.Text)), kLeaderColumn)});
    Scores(s, e, y, r);
    y += kReportRowStep;
  }
  const int totalsY = Totals(s, y + 8, r);
  r.ruleY = totalsY > 0 ? totalsY - 4 : 0;
  r.height = (totalsY > 0 ? totalsY : y) + kReportRowStep + 4;
  return r;
}

}  // namespace tarvelis
