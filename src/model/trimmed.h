// A text without the blanks at its two ends: names typed with spaces around
// them, fields padded in the files, labels centred with spaces.
#pragma once

#include <string>
#include <string_view>

namespace tarvelis {

// `text` without the characters of `blanks` (spaces unless told) at either
// end; empty when it holds nothing else. A view into `text`.
inline std::string_view TrimmedView(std::string_view text, std::string_view blanks = " ") {
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The same, as a string of its own.
inline std::string Trimmed(std::string_view text, std::string_view blanks = " ") {
  return std::string(TrimmedView(text, blanks));
}

}  // namespace tarvelis
