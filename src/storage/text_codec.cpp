#include "storage/text_codec.h"

#include <array>
#include <cstdint>

#include "model/utf8_text.h"

namespace tarvelis {
namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Bytes 0x80..0x9F of Windows-1252; the rest of the page is Latin-1 itself.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

// The code point that starts at text[i], advancing i past it. A broken
// sequence (bad lead byte, missing continuation, overlong form, surrogate or
// value beyond U+10FFFF) yields kInvalid and advances by one byte only, so the
// bytes after it are still read.
char32_t NextCodePoint(std::string_view text, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  int extra = 0;
  char32_t c = 0;
  char32_t least = 0;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1, c = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, c = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, c = lead & 0x07, least = 0x10000;
  } else {
    ++i;
    return kInvalid;
  }
  if (i + extra >= text.size()) {  // the sequence runs past the end
    ++i;
    return kInvalid;
  }
  for (int k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) {
      ++i;
      return kInvalid;
    }
    c = (c << 6) | (next & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return kInvalid;
  }
  i += extra + 1;
  return c;
}

char ByteOf(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t k = 0; k < kHighControls.size(); ++k) {
    if (kHighControls[k] == c) return static_cast<char>(0x80 + k);
  }
  return '?';
}

}  // namespace

std::string Utf8From1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      out += ch;
    } else {
      AppendUtf8(out, b < 0xA0 ? kHighControls[b - 0x80] : char32_t{b});
    }
  }
  return out;
}

std::string Utf8To1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, i);
    out += c == kInvalid ? '?' : ByteOf(c);
  }
  return out;
}

std::string CapitaliseWords(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  bool wordStart = true;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t start = i;
    const char32_t c = NextCodePoint(utf8, i);
    if (c == kInvalid) {
      out.append(utf8.substr(start, i - start));  // left for the encoder to judge
    } else {
      AppendUtf8(out, wordStart ? UpperLetter(c) : LowerLetter(c));
    }
    wordStart = c == U' ';
  }
  return out;
}

}  // namespace tarvelis
