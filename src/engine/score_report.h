// The score report (Marcador): who led each hand of the match and what it
// scored, with the match totals. The report is built here as the texts and
// pictures to print at pixel positions; the window only paints them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/game_state.h"

namespace tarvelis {

enum class ReportStyle : std::uint8_t {
  kTitle,       // the report's title
  kText,        // every other line, in the report's even-width letters
  kPairLabel1,  // the picture heading pair 1's column (pairs mode)
  kPairLabel2,  // the same for pair 2
};

struct ReportItem {
  int x = 0;
  int y = 0;
  std::string text;
  ReportStyle style = ReportStyle::kText;
  bool operator==(const ReportItem&) const = default;
};

struct ScoreReport {
  std::vector<ReportItem> items;
  int width = 0;      // the picture area's width, which follows the mode
  int height = 0;     // down to the last line printed
  int ruleY = 0;      // a rule over the totals line; 0 when there is none
  int firstHand = 0;  // the first hand the rows may list
};

// Vertical places of the report's lines.
inline constexpr int kReportTitleY = 8;
inline constexpr int kReportTargetY = 30;
inline constexpr int kReportHeaderY = 54;
inline constexpr int kReportFirstRowY = 76;
inline constexpr int kReportRowStep = 16;
inline constexpr int kReportMaxRows = 20;
inline constexpr int kReportNumberX = 16;
inline constexpr int kReportLeaderX = 67;

// Recomputes the totals from the hand log (as a finished hand does) and lays
// the report out for the rule mode in force.
ScoreReport BuildScoreReport(GameState& state);

// The report's second line: "Partida a 5 puntos", "Partida a 1 punto".
std::string MatchTargetText(int target);

// `n` padded with spaces on the left to `width` characters.
std::string RightAligned(int n, int width);

}  // namespace tarvelis
