#include "net/chat_text.h"

#include <algorithm>

#include "model/utf8_text.h"
#include "storage/clean_text.h"

namespace tarvelis::net {
namespace {

// The code point at `i`, moving `i` past it. A byte that starts no valid
// sequence is taken alone as U+FFFD, so no input can stall or overrun.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto b = static_cast<unsigned char>(text[i]);
  const int extra = b < 0x80             ? 0
                    : (b & 0xE0) == 0xC0 ? 1
                    : (b & 0xF0) == 0xE0 ? 2
                    : (b & 0xF8) == 0xF0 ? 3
                                         : -1;
  if (extra < 0 || i + extra >= text.size() + (extra == 0 ? 1 : 0)) {
    ++i;
    return extra == 0 ? b : 0xFFFD;
  }
  char32_t c = extra == 0 ? b : b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    c = (c << 6) | (next & 0x3F);
  }
  i += extra + 1;
  return c;
}

bool IsTurningMark(char32_t c) {
  return c == 0x200E || c == 0x200F || c == 0x061C || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

std::string CleanChatText(std::string_view utf8) {
  // A tab or a line break parts words as a blank does; other controls go.
  std::string spaced(utf8);
  std::replace_if(
      spaced.begin(), spaced.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; },
      ' ');
  const std::string plain = WithoutControlCharacters(spaced);
  std::string out;
  bool blank = true;  // no blank at the start
  std::size_t i = 0;
  while (i < plain.size()) {
    const std::size_t start = i;
    const char32_t c = NextCodePoint(plain, i);
    if (IsTurningMark(c)) continue;
    const bool isBlank = c == U' ' || c == U'\t' || c == 0xA0;
    if (isBlank && blank) continue;
    std::string replaced;
    if (c == 0xFFFD) AppendUtf8(replaced, c);
    const std::string_view piece = isBlank       ? std::string_view(" ")
                                   : c == 0xFFFD ? std::string_view(replaced)
                                                 : std::string_view(plain).substr(start, i - start);
    if (out.size() + piece.size() > kChatTextBytes) break;
    out += piece;
    blank = isBlank;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace tarvelis::net
