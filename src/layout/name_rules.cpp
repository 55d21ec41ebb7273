#include "layout/name_rules.h"

#include <algorithm>

#include "model/letter_case.h"
#include "model/names.h"

namespace tarvelis {

bool IsNameCharacter(char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return false;
  if (c <= 0xFF) return true;
  // The letters and signs Windows-1252 adds to Latin-1 that a name may use.
  switch (c) {
    case 0x152:
    case 0x153:
    case 0x160:
    case 0x161:
    case 0x178:
    case 0x17D:
    case 0x17E:
    case 0x20AC:
    case 0x2019:
      return true;
    default:
      return false;
  }
}

NameEdit ApplyNameRules(const std::u32string& typed, int caret) {
  NameEdit out;
  caret = std::clamp(caret, 0, static_cast<int>(typed.size()));
  out.Caret = caret;
  bool leading = true;
  bool wordStart = true;
  for (std::size_t i = 0; i < typed.size(); ++i) {
    const char32_t c = typed[i];
    const bool dropped = (leading && c == U' ') || !IsNameCharacter(c) ||
                         out.Text.size() >= static_cast<std::size_t>(kMaxNameLength);
    if (dropped) {
      if (static_cast<int>(i) < caret) --out.Caret;
    } else {
      leading = false;
      out.Text += wordStart ? UpperLetter(c) : LowerLetter(c);
    }
    // Case follows the text as typed: a letter after a space starts a word.
    wordStart = c == U' ';
  }
  return out;
}

}  // namespace tarvelis
