#include "model/name_fit.h"

#include <algorithm>
#include <cstddef>

namespace tarvelis {
namespace {

bool Continues(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// A name as its characters: where each begins (a continuation byte with no
// character before it stands alone), the end of the text last.
struct Cuttable {
  const std::string* text = nullptr;
  std::vector<std::size_t> starts;
  std::size_t Count() const { return starts.size() - 1; }

  // The first `head` characters, the mark and the last `tail`.
  std::string Cut(std::size_t head, std::size_t tail) const {
    std::string out(*text, 0, starts[head]);
    out += kCutMark;
    out.append(*text, starts[Count() - tail]);
    return out;
  }
};

Cuttable Split(const std::string& text) {
  Cuttable c;
  c.text = &text;
  c.starts.reserve(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == 0 || !Continues(text[i])) c.starts.push_back(i);
  }
  c.starts.push_back(text.size());
  return c;
}

// The longest beginning, at most `below` characters, that fits its room with
// the mark and the last `tail` characters: 0 when not even one does. A
// beginning never gets narrower by growing, so the search halves the range.
std::size_t LongestHead(int index, const Cuttable& c, std::size_t below, std::size_t tail, int room,
                        const NameWidth& width) {
  std::size_t lo = 0;  // fits (or is nothing)
  std::size_t hi = below;
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo + 1) / 2;
    if (width(index, c.Cut(mid, tail)) <= room) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  return lo;
}

}  // namespace

int CharacterCount(const std::string& text) {
  int count = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == 0 || !Continues(text[i])) ++count;
  }
  return count;
}

// A cut name's beginning only shrinks as its end grows, so each name keeps
// the length of its beginning and walks it down: over every round together
// the width is asked about a name a number of times linear in its length,
// however hostile the names.
std::vector<std::string> FitNames(const std::vector<std::string>& names,
                                  const std::vector<int>& rooms, const NameWidth& width) {
  const std::size_t n = names.size();
  std::vector<std::string> shown(n);
  std::vector<Cuttable> chars(n);
  std::vector<bool> cut(n, false);
  std::vector<std::size_t> head(n, 0);
  auto roomOf = [&](std::size_t i) { return i < rooms.size() ? rooms[i] : 0; };
  for (std::size_t i = 0; i < n; ++i) {
    chars[i] = Split(names[i]);
    if (width(static_cast<int>(i), names[i]) <= roomOf(i)) {
      shown[i] = names[i];
    } else {
      cut[i] = true;
      head[i] = LongestHead(static_cast<int>(i), chars[i], chars[i].Count(), 0, roomOf(i), width);
      if (head[i] > 0) shown[i] = chars[i].Cut(head[i], 0);
    }
  }
  // A cut name that reads like a different name gets more of its end, one
  // character at a time, until no two different names read alike or its
  // room holds no more.
  std::size_t longest = 0;
  for (const auto& c : chars) longest = std::max(longest, c.Count());
  std::vector<bool> clash(n, false);
  for (std::size_t tail = 1; tail < longest; ++tail) {
    bool any = false;
    for (std::size_t i = 0; i < n; ++i) {
      clash[i] = false;
      if (!cut[i] || shown[i].empty()) continue;
      for (std::size_t j = 0; j < n && !clash[i]; ++j) {
        if (i != j && shown[i] == shown[j] && names[i] != names[j]) clash[i] = any = true;
      }
    }
    if (!any) break;
    for (std::size_t i = 0; i < n; ++i) {
      if (!clash[i] || tail >= chars[i].Count()) continue;
      // Walk the beginning down from where it stood until it fits again.
      const int index = static_cast<int>(i);
      std::size_t h = std::min(head[i], chars[i].Count() - tail);
      while (h > 0 && width(index, chars[i].Cut(h, tail)) > roomOf(i)) --h;
      // When nothing fits, nothing will with a longer end: the name stays.
      head[i] = h;
      if (h > 0) shown[i] = chars[i].Cut(h, tail);
    }
  }
  return shown;
}

}  // namespace tarvelis
