// Reading a state from text, splitting a file into lines, and comparing what
// the file carries.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/game_state.h"
#include "storage/state_file.h"

namespace tarvelis::testing {

inline ReadOutcome ReadText(GameState& s, const std::string& text) {
  std::istringstream in(text);
  return ReadState(s, in);
}

// Lines without their CR LF; a text whose last line has no line end keeps it.
inline std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

inline int FieldCount(const std::string& line) {
  int commas = 0;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) ++commas;
  }
  return commas + 1;
}

inline void ExpectSameSettings(const GameState& a, const GameState& b) {
  EXPECT_TRUE(static_cast<const SeatOptions&>(a) == static_cast<const SeatOptions&>(b));
  EXPECT_TRUE(static_cast<const HouseRules&>(a) == static_cast<const HouseRules&>(b));
}

inline void ExpectSameCarriedFields(const GameState& a, const GameState& b) {
  EXPECT_EQ(FirstCarriedDifference(a, b), "");
}

}  // namespace tarvelis::testing
