#include "storage/text_codec.h"

#include <gtest/gtest.h>

namespace tarvelis {
namespace {

TEST(Codepage1252, EveryByteSurvivesTheTripThroughUtf8) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(Utf8To1252(Utf8From1252(byte)), byte) << "byte " << b;
  }
}

TEST(Codepage1252, HighBytesAreTheWindowsCharactersAndTheRestAQuestionMark) {
  EXPECT_EQ(Utf8From1252("\x80\x8A\x8C\x93\x94\x96\x85"), "€ŠŒ“”–…");
  EXPECT_EQ(Utf8To1252("€ñÑáéíóúü¿¡"), "\x80\xF1\xD1\xE1\xE9\xED\xF3\xFA\xFC\xBF\xA1");
  EXPECT_EQ(Utf8To1252("a漢b😀Ω"), "a?b??");
  // Broken UTF-8: a lone lead byte, a cut sequence, an overlong form, a surrogate.
  EXPECT_EQ(Utf8To1252("x\xC3"), "x?");
  EXPECT_EQ(Utf8To1252("\xE2\x82y"), "??y");
  EXPECT_EQ(Utf8To1252("\xC0\xAF"), "??");
  EXPECT_EQ(Utf8To1252("\xED\xA0\x80"), "???");
}

}  // namespace
}  // namespace tarvelis
