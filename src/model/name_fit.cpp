#include "model/name_fit.h"

#include <algorithm>
#include <cstddef>

namespace tarvelis {
namespace {

// The characters of a UTF-8 text, each with its continuation bytes.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> out;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) == 0x80 && !out.empty()) {
      out.back() += c;
    } else {
      out.emplace_back(1, c);
    }
  }
  return out;
}

std::string Joined(const std::vector<std::string>& chars, std::size_t from, std::size_t to) {
  std::string out;
  for (std::size_t i = from; i < to && i < chars.size(); ++i) out += chars[i];
  return out;
}

// The longest beginning that fits with the mark and the last `tail`
// characters; empty when not even one character of the beginning fits.
std::string CutToRoom(int index, const std::vector<std::string>& chars, std::size_t tail, int room,
                      const NameWidth& width) {
  const std::string end = kCutMark + Joined(chars, chars.size() - tail, chars.size());
  for (std::size_t head = chars.size() - tail; head > 0; --head) {
    std::string text = Joined(chars, 0, head) + end;
    if (width(index, text) <= room) return text;
  }
  return {};
}

}  // namespace

int CharacterCount(const std::string& text) {
  return static_cast<int>(Characters(text).size());
}

std::vector<std::string> FitNames(const std::vector<std::string>& names,
                                  const std::vector<int>& rooms, const NameWidth& width) {
  const std::size_t n = names.size();
  std::vector<std::string> shown(n);
  std::vector<std::vector<std::string>> chars(n);
  std::vector<bool> cut(n, false);
  for (std::size_t i = 0; i < n; ++i) {
    const int room = i < rooms.size() ? rooms[i] : 0;
    chars[i] = Characters(names[i]);
    if (width(static_cast<int>(i), names[i]) <= room) {
      shown[i] = names[i];
    } else {
      cut[i] = true;
      shown[i] = CutToRoom(static_cast<int>(i), chars[i], 0, room, width);
    }
  }
  // A cut name that reads like a different name gets more of its end, one
  // character at a time, until no two different names read alike or its
  // room holds no more.
  std::size_t longest = 0;
  for (const auto& c : chars) longest = std::max(longest, c.size());
  for (std::size_t tail = 1; tail < longest; ++tail) {
    std::vector<bool> clash(n, false);
    bool any = false;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        if (i != j && cut[i] && !shown[i].empty() && shown[i] == shown[j] && names[i] != names[j]) {
          clash[i] = any = true;
        }
      }
    }
    if (!any) break;
    for (std::size_t i = 0; i < n; ++i) {
      if (!clash[i] || tail >= chars[i].size()) continue;
      const int room = i < rooms.size() ? rooms[i] : 0;
      const std::string longer = CutToRoom(static_cast<int>(i), chars[i], tail, room, width);
      if (!longer.empty()) shown[i] = longer;
    }
  }
  return shown;
}

}  // namespace tarvelis
