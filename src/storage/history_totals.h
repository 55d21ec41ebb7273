// The totals of the history: matches won and points obtained, per name and
// per pair, in four sections, each starting on a page of its own.
#pragma once

#include <string>
#include <vector>

#include "model/texts.h"
#include "storage/history_file.h"

namespace tarvelis {

inline constexpr int kTotalsSections = 4;
inline constexpr int kHistoryPageSize = 8;

// The sections' titles and headers are kTotalsTitle and kTotalsHeader.
static_assert(std::size(kTotalsTitle) == kTotalsSections + 1);

// One line of the totals. A blank line (Section 0) fills a section's last
// page, so that the next section starts on a page of its own.
struct TotalEntry {
  int Section = 0;
  int Total = 0;
  std::string Name;     // trimmed, UTF-8
  std::string Partner;  // the pair sections' second name
};

// Sections 1-4 in order, each largest total first and ties in descending
// order of the names, each padded with blank lines to a multiple of 8. Names
// are matched without their spaces, and a pair is one pair whichever of its
// names comes first; a pair shows its names as the latest record wrote them.
// `matches` are in file order.
std::vector<TotalEntry> ComputeTotals(const std::vector<HistoryMatch>& matches);

}  // namespace tarvelis
