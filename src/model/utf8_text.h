// Counting and cutting UTF-8 texts by characters rather than bytes, for the
// columns of the move list and the score report.
#pragma once

#include <algorithm>
#include <string>

namespace tarvelis {

inline int Utf8Length(const std::string& text) {
  return static_cast<int>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// The first `n` characters of a UTF-8 text.
inline std::string Utf8Prefix(const std::string& text, int n) {
  size_t i = 0;
  int seen = 0;
  while (i < text.size()) {
    if ((text[i] & 0xC0) != 0x80 && seen++ == n) break;
    ++i;
  }
  return text.substr(0, i);
}

}  // namespace tarvelis
