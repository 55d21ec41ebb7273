#include "model/name_fit.h"

#include <gtest/gtest.h>

#include <random>

namespace tarvelis {
namespace {

// Every character counts one, the mark too.
const NameWidth kEven = [](int, const std::string& text) { return CharacterCount(text); };

TEST(FitNames, WholeCutAndToldApart) {
  struct Case {
    const char* what;
    std::vector<std::string> names;
    std::vector<int> rooms;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"names that fit stay whole", {"Ana", "Jugador1"}, {8, 8}, {"Ana", "Jugador1"}},
      {"a long name keeps the mark of its cut",
       {"Íñigo Pérez", "Ana"},
       {8, 8},
       {"Íñigo P…", "Ana"}},
      {"two names alike at the cut keep their ends",
       {"Jugador1", "Jugador2", "Jugador3", "Ana"},
       {6, 6, 6, 6},
       {"Juga…1", "Juga…2", "Juga…3", "Ana"}},
      {"the end grows until the names differ",
       {"Maria Luisa 10", "Maria Luisa 20"},
       {8, 8},
       {"Maria…10", "Maria…20"}},
      {"the same name twice is left alike", {"Pepe Pepe", "Pepe Pepe"}, {5, 5}, {"Pepe…", "Pepe…"}},
      {"each name its own room", {"Jugador1", "Jugador3"}, {8, 5}, {"Jugador1", "Juga…"}},
      {"no room shows nothing", {"Jugador1"}, {1}, {""}},
  };
  for (const Case& c : cases) EXPECT_EQ(FitNames(c.names, c.rooms, kEven), c.shown) << c.what;
}

// The fitting as first written, measuring every beginning from the longest
// down at every length of the end: slow, plainly right, and the result the
// table has always shown.
std::vector<std::string> FitByEveryLength(const std::vector<std::string>& names,
                                          const std::vector<int>& rooms, const NameWidth& width) {
  auto chars = [](const std::string& text) {
    std::vector<std::string> out;
    for (char c : text) {
      if ((static_cast<unsigned char>(c) & 0xC0) == 0x80 && !out.empty()) {
        out.back() += c;
      } else {
        out.emplace_back(1, c);
      }
    }
    return out;
  };
  auto joined = [](const std::vector<std::string>& c, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t i = from; i < to; ++i) out += c[i];
    return out;
  };
  auto cutTo = [&](int i, const std::vector<std::string>& c, std::size_t tail) -> std::string {
    const std::string end = kCutMark + joined(c, c.size() - tail, c.size());
    for (std::size_t head = c.size() - tail; head > 0; --head) {
      if (width(i, joined(c, 0, head) + end) <= rooms[i]) return joined(c, 0, head) + end;
    }
    return {};
  };
  const std::size_t n = names.size();
  std::vector<std::string> shown(n);
  std::vector<bool> cut(n);
  std::size_t longest = 0;
  for (std::size_t i = 0; i < n; ++i) {
    longest = std::max(longest, chars(names[i]).size());
    cut[i] = width(static_cast<int>(i), names[i]) > rooms[i];
    shown[i] = cut[i] ? cutTo(static_cast<int>(i), chars(names[i]), 0) : names[i];
  }
  for (std::size_t tail = 1; tail < longest; ++tail) {
    std::vector<bool> clash(n);
    bool any = false;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        if (i != j && cut[i] && !shown[i].empty() && shown[i] == shown[j] && names[i] != names[j])
          clash[i] = any = true;
      }
    }
    if (!any) break;
    for (std::size_t i = 0; i < n; ++i) {
      if (!clash[i] || tail >= chars(names[i]).size()) continue;
      const std::string longer = cutTo(static_cast<int>(i), chars(names[i]), tail);
      if (!longer.empty()) shown[i] = longer;
    }
  }
  return shown;
}

// Names drawn from few letters so that they clash often, with rooms of every
// size and letters of unequal width, as a font draws them.
TEST(FitNames, ShowsWhatMeasuringEveryLengthShows) {
  std::mt19937 rng(7);
  const std::string letters[] = {"a", "b", "\xc3\xb1", "W", " ", "1"};
  const NameWidth uneven = [](int, const std::string& text) {
    int w = 0;
    for (char c : text) w += c == 'W' ? 3 : ((static_cast<unsigned char>(c) & 0xC0) != 0x80);
    return w;
  };
  for (int round = 0; round < 400; ++round) {
    const std::size_t n = 1 + rng() % 5;
    std::vector<std::string> names(n);
    std::vector<int> rooms(n);
    const std::string stem = letters[rng() % 6] + letters[rng() % 6] + letters[rng() % 6];
    for (std::size_t i = 0; i < n; ++i) {
      names[i] = rng() % 2 ? stem : std::string();
      for (std::size_t k = rng() % 12; k > 0; --k)
        names[i] += letters[rng() % 3 == 0 ? rng() % 6 : 0];
      rooms[i] = static_cast<int>(rng() % 12);
    }
    for (const NameWidth& width : {kEven, uneven}) {
      ASSERT_EQ(FitNames(names, rooms, width), FitByEveryLength(names, rooms, width))
          << "round " << round;
    }
  }
}

// Names as a hostile server may send them, long and alike but for one letter:
// deep inside, where no room shows it, or near the end, where the end kept
// tells them apart. The width is asked a number of times linear in their
// length, so drawing them never stalls the table.
TEST(FitNames, LongNamesAlikeAreMeasuredLinearlyOften) {
  for (const std::size_t length : {64u, 256u}) {
    for (const std::size_t differ : {length / 2, length - 5}) {
      std::vector<std::string> names;
      for (char letter : {'x', 'y', 'z', 'w'}) {
        std::string name(length, 'a');
        name[differ] = letter;
        names.push_back(name);
      }
      long calls = 0;
      const NameWidth counted = [&calls](int, const std::string& text) {
        ++calls;
        return CharacterCount(text);
      };
      const std::vector<std::string> shown = FitNames(names, {12, 12, 12, 12}, counted);
      EXPECT_LE(calls, static_cast<long>(names.size() * 3 * length)) << length;
      for (std::size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(CharacterCount(shown[i]), 12) << shown[i];
        for (std::size_t j = 0; j < i && differ + 10 > length; ++j) EXPECT_NE(shown[i], shown[j]);
      }
    }
  }
}

}  // namespace
}  // namespace tarvelis
