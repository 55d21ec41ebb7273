// Upper and lower case of the letters a name may hold: the Latin-1 letters and
// the Š, Ž, Œ and Ÿ that Windows-1252 adds, so that a name keeps its case rule
// in the files. Other characters pass unchanged.
#pragma once

namespace tarvelis {

constexpr char32_t UpperLetter(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // 0xF7 is the division sign
  switch (c) {
    case 0xFF:
      return 0x178;  // ÿ
    case 0x161:
      return 0x160;  // š
    case 0x17E:
      return 0x17D;  // ž
    case 0x153:
      return 0x152;  // œ
    default:
      return c;
  }
}

constexpr char32_t LowerLetter(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // 0xD7 is the times sign
  switch (c) {
    case 0x178:
      return 0xFF;
    case 0x160:
      return 0x161;
    case 0x17D:
      return 0x17E;
    case 0x152:
      return 0x153;
    default:
      return c;
  }
}

}  // namespace tarvelis
