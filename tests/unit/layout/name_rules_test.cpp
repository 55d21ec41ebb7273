#include "layout/name_rules.h"

#include <gtest/gtest.h>

#include "layout/table_background.h"
#include "model/names.h"

namespace tarvelis {
namespace {

TEST(NameRules, TypedNamesAreCapitalisedTrimmedAndBounded) {
  const struct {
    std::u32string typed;
    int caret;
    std::u32string text;
    int expectedCaret;
  } cases[] = {
      {U"juan", 4, U"Juan", 4},
      {U"JUAN PEDRO", 3, U"Juan Pedro", 3},
      {U"  ana", 2, U"Ana", 0},  // a space typed before the name goes, the caret stays put
      {U"   maría josé", 13, U"María José", 10},
      {U"ana  luz ", 9, U"Ana  Luz ", 9},  // inner and trailing spaces stay while typing
      {U"ñoño ÁLVAREZ", 1, U"Ñoño Álvarez", 1},
      {U"œil ŠTEFAN", 0, U"Œil Štefan", 0},
      {U"a\tb", 3, U"Ab", 2},        // a tab pasted in is dropped
      {U"li中wei", 6, U"Liwei", 5},  // as is a letter the files cannot hold
      {U"x1y", 3, U"X1y", 3},        // after a digit the word goes on
      {U"abcdefghijklmnopqrstuvwxyz", 26, U"Abcdefghijklmnopqrst", 20},
  };
  for (const auto& c : cases) {
    const NameEdit e = ApplyNameRules(c.typed, c.caret);
    EXPECT_EQ(e.Text, c.text);
    EXPECT_EQ(e.Caret, c.expectedCaret);
    EXPECT_LE(static_cast<int>(e.Text.size()), kMaxNameLength);
  }
}

TEST(TableBackground, OnlyTheTwoPrefixesAskForAPicture) {
  const struct {
    const char* text;
    BackgroundLayout layout;
    const char* file;
  } cases[] = {
      {"qvxn1fondo.png", BackgroundLayout::Once, "qvxn1fondo.png"},
      {"  QVXN4Mesa.JPG ", BackgroundLayout::FourTimes, "QVXN4Mesa.JPG"},
      {"qvxn2fondo.png", BackgroundLayout::None, ""},
      {"qvxn", BackgroundLayout::None, ""},
      {"/etc/qvxn1.png", BackgroundLayout::None, ""},
      {"", BackgroundLayout::None, ""},
  };
  for (const auto& c : cases) {
    const BackgroundRequest r = ParseBackgroundText(c.text);
    EXPECT_EQ(r.Layout, c.layout) << c.text;
    EXPECT_EQ(r.FileName, c.file) << c.text;
  }
}

}  // namespace
}  // namespace tarvelis
