// The totals of the history: matches won and points obtained, per name and
// per pair, in four sections, each starting on a page of its own.
#pragma once

#include <string>
#include <vector>

#include "storage/history_file.h"

namespace tarvelis {

inline constexpr int kTotalsSections = 4;
inline constexpr int kHistoryPageSize = 8;

// Index = section 1..4.
inline constexpr const char* kTotalsTitle[kTotalsSections + 1] = {
    "", "Partidas ganadas por jugador", "Puntos obtenidos por jugador",
    "Partidas ganadas por pareja", "Puntos obtenidos por pareja"};
inline constexpr const char* kTotalsHeader[kTotalsSections + 1] = {
    "", "                  Jugador                   Partidas",
    "                  Jugador                    Puntos",
    "                   Pareja                                Partidas",
    "                   Pareja                                 Puntos"};

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
