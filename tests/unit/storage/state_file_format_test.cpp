// What the file looks like and that it carries the whole state.
#include <gtest/gtest.h>

#include <algorithm>

#include "state_text.h"
#include "storage/settings_file.h"
#include "storage/state_file.h"
#include "support/sample_game.h"
#include "support/temp_folder.h"

namespace tarvelis {
namespace {

using testing::CrLfLines;
using testing::ExpectSameCarriedFields;
using testing::FieldCount;
using testing::ReadText;

// The round trip of every field is checked after every move by
// `tarvelis-sim --check`; these are the layouts of the file it never writes.
TEST(StateFileRoundTrip, LineEndsAndBlanksDoNotBindOnlyTheOrderOfTheFields) {
  const GameState original = sample::RichState(20, 3);
  const std::string text = StateFileText(original);
  std::string lfOnly = text;
  lfOnly.erase(std::remove(lfOnly.begin(), lfOnly.end(), '\r'), lfOnly.end());
  // All fields on one line, blanks around them, texts unquoted where possible.
  std::string loose;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "\r\n") == 0) {
      loose += " ,  ";
      ++i;
    } else {
      loose += text[i] == ',' ? std::string("  , ") : std::string(1, text[i]);
    }
  }
  loose.replace(0, loose.find(','), "  jOS\xC9  ");  // first name unquoted, odd case
  for (const std::string& variant : {lfOnly, loose}) {
    GameState back;
    EXPECT_EQ(ReadText(back, variant).ErrorNumber, 0);
    ExpectSameCarriedFields(original, back);
    EXPECT_TRUE(back.HandInProgress);
  }
}

TEST(StateFileLayout, AMissingFileIsCreatedWith127CrLfLinesOfTheDefaultsAndSaysSo) {
  testing::TempFolder folder;
  GameState s = sample::RichState(10, 2);  // whatever was there before
  const LoadReport report = LoadSettings(s, folder.path());
  EXPECT_EQ(report.ErrorNumber, 53);
  EXPECT_EQ(report.Message,
            "No se encuentra el fichero de inicialización TARVE32.INI. Se ha  procedido  a  "
            "crearlo automáticamente  con  los  valores establecidos por defecto.");
  EXPECT_EQ(report.Title, "Error en la carga de datos iniciales");
  GameState expected;
  ApplyNewFileState(expected);
  ExpectSameCarriedFields(expected, s);
  const std::string text = testing::ReadBytes(folder / "TARVE32.INI");
  const auto lines = CrLfLines(text);
  ASSERT_EQ(lines.size(), 127u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 127);
  EXPECT_EQ(lines[0],
            "\"Jugador1\",\"Jugador2\",\"Jugador3\",\"Jugador4\",50,50,50,100,1,1,1,1,1,1,1,2,"
            "1,1,1,2,1,1,1,1,1,1,1,1,1,2,1");
  EXPECT_EQ(lines[1], "5,50,#FALSE#,#FALSE#,0,0,0,0,0,#FALSE#,1");
  for (std::size_t i = 2; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].find_first_not_of("0,"), std::string::npos) << "line " << i + 1;
  }
  EXPECT_EQ(LoadSettings(s, folder.path()).ErrorNumber, 0);
}

TEST(StateFileLayout, LogAndMoveLinesHaveTheirFieldsInOrder) {
  GameState s = sample::RichState(6, 2);
  MoveEntry& m = s.MoveRecord[3];
  for (int f = 0; f < kRecordFields; ++f) m[f] = static_cast<i16>(100 + f);
  s.HandLog[2].Text = "dos";
  s.HandLog[2].PairUnits = {0, 11, 21};
  s.HandLog[2].PairTens = {0, 12, 22};
  s.HandLog[2].SeatUnits = {0, 31, 41, 51, 61};
  s.HandLog[2].SeatTens = {0, 32, 42, 52, 62};
  const auto lines = CrLfLines(StateFileText(s));
  // Settings, match, two log lines, two ends, four seat blocks, seven doubles, six moves.
  ASSERT_EQ(lines.size(), 2u + 2 + 2 + 4 * 29 + 7 + 6);
  EXPECT_EQ(lines[3], "\"dos\",11,12,21,22,31,32,41,42,51,52,61,62");
  EXPECT_EQ(lines[2 + 2 + 2 + 4 * 29 + 7 + 2],
            "100,101,102,103,104,105,106,107,108,109,110,111,112,113,114,115,116,117,"
            "122,123,124,125,118,119,120,121");
  EXPECT_EQ(FieldCount(lines[4]), 5);  // end 1
  EXPECT_EQ(FieldCount(lines[6]), 2);  // seat 1: tiles held, doubles
  EXPECT_EQ(FieldCount(lines[7]), 3);  // pip 0: count, mark, rank 1
}

// Names go to disk one byte a letter; a double quote in them cannot shift
// the fields after it.
TEST(StateFileText, NamesAreOneByteALetterAndTheirQuotesCannotShiftFields) {
  GameState s = sample::RichState(4, 1);
  s.SeatName[1] = "Pepe \"el, Rápido\"";
  s.SeatName[2] = "Begoña";
  s.HandLog[1].Text = "ganó \"Pepe\"";
  const std::string text = StateFileText(s);
  EXPECT_NE(text.find(",\"Bego\xF1"
                      "a\","),
            std::string::npos);
  GameState back;
  const ReadOutcome outcome = ReadText(back, text);
  EXPECT_EQ(outcome.ErrorNumber, 0);
  EXPECT_FALSE(outcome.MatchDropped);
  EXPECT_EQ(back.SeatName[1], "Pepe 'el, Rápido'");
  EXPECT_EQ(back.SeatName[2], "Begoña");
  EXPECT_EQ(back.HandLog[1].Text, "ganó 'Pepe'");
  EXPECT_EQ(back.MoveRecord[3], s.MoveRecord[3]);
}

}  // namespace
}  // namespace tarvelis
