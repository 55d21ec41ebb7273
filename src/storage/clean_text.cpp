#include "storage/clean_text.h"

#include "model/names.h"

namespace tarvelis {
namespace {

bool IsContinuation(unsigned char b) {
  return (b & 0xC0) == 0x80;
}

}  // namespace

std::string WithoutControlCharacters(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x20 || b == 0x7F) continue;
    // U+0080..U+009F are C2 80..C2 9F in UTF-8.
    if (b == 0xC2 && i + 1 < utf8.size()) {
      const auto next = static_cast<unsigned char>(utf8[i + 1]);
      if (next >= 0x80 && next <= 0x9F) {
        ++i;
        continue;
      }
    }
    out += static_cast<char>(b);
  }
  return out;
}

std::string BoundedName(std::string_view utf8) {
  std::string name = WithoutControlCharacters(utf8);
  int characters = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (IsContinuation(static_cast<unsigned char>(name[i]))) continue;
    if (++characters > kMaxNameLength) {
      name.resize(i);
      break;
    }
  }
  return name;
}

}  // namespace tarvelis
