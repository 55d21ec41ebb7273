// History records built as text, the way any writer may have laid them out.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "storage/history_file.h"

namespace tarvelis::testing {

// Names are written as given, padded on the right to nine; points
// right-aligned in three.
inline std::string Record(const std::string& when, std::array<std::string, 4> names,
                          std::array<int, 4> points, bool pairs) {
  std::string r = when;
  for (std::string n : names) {
    n.resize(9, ' ');
    r += n;
  }
  char buffer[16];
  for (int p : points) {
    std::snprintf(buffer, sizeof buffer, "%3d", p);
    r += buffer;
  }
  return r + (pairs ? "P" : "I") + "\r\n";
}

inline std::vector<HistoryMatch> Matches(const std::vector<std::string>& records) {
  std::string bytes;
  for (const std::string& r : records) bytes += r;
  return ParseHistory(bytes);
}

}  // namespace tarvelis::testing
