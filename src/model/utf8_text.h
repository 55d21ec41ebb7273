// Counting and cutting UTF-8 texts by characters rather than bytes, for the
// columns of the move list and the score report, and writing a code point.
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

// One code point written as UTF-8 (the caller keeps to valid code points).
inline void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace tarvelis
