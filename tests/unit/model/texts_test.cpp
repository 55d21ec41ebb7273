// The composed messages where a rule shapes the text: the numbers' padding,
// the plurals, the second person, the parts said only when they apply. Texts
// that only join fixed words to a name are not repeated here.
#include "model/texts.h"

#include <gtest/gtest.h>

namespace tarvelis {
namespace {

TEST(Texts, NumbersAndNamesGoInWithTheirPadding) {
  const struct {
    std::string Got, Want;
  } cases[] = {
      {AsNumber(25) + AsNumber(-3), " 25-3"},
      {SeatPipsLine("Ana", 7), "Ana :   7"},
      {PairPipsLine("Ana", "Luis", 12), "Ana y Luis :  12"},
      {HandPointsLine(24, 3, true), "Puntos :  24       Decenas :  3"},
      {HandPointsLine(24, 3, false), "Puntos :  24"},
      {ResolutionMessage(640, 48),
       "Aunque este programa puede funcionar bajo la resolución que tiene actualmente "
       "seleccionada (640x 48), la resolución aconsejada para obtener los mejores resultados es "
       "la de 800x600 con 256 o más colores."},
      {ReviewSummaryText(0) + "|" + ReviewSummaryText(1) + "|" + ReviewSummaryText(2),
       "Análisis: ninguna jugada marcada|Análisis: 1 jugada marcada|Análisis: 2 jugadas marcadas"},
      {MatchTargetText(1) + "|" + MatchTargetText(30), "Partida a 1 punto|Partida a 30 puntos"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.Got, c.Want);
}

TEST(Texts, WinnersAreToldInTheSecondPersonOnlyWhenTheyAreTheUser) {
  EXPECT_EQ(PairWonHandText(true, "A", "B"), "Habeis ganado el juego A y B");
  EXPECT_EQ(PairWonHandText(false, "A", "B"), "Han ganado el juego A y B");
  EXPECT_EQ(PairWonMatchText(true, "A", "B"), "Habeis ganado la partida \r\nA y B");
  EXPECT_EQ(PairWonMatchText(false, "A", "B"), "Han ganado la partida \r\nA y B");
}

TEST(Texts, FileMessagesNameTheFileAndSayWhatIsLost) {
  EXPECT_EQ(SavedGameDamagedMessage("x", 62),
            "El juego archivado \"x\" está dañado y no se puede cargar (CID ERROR 62). La partida "
            "en curso sigue como estaba.");
  EXPECT_EQ(SavedGameDamagedMessage("x", 0),
            "El juego archivado \"x\" está dañado y no se puede cargar. La partida en curso sigue "
            "como estaba.");
  EXPECT_EQ(SettingsNotSavedMessage("/d/TARVE32.INI", false),
            "No se han podido guardar los datos en /d/TARVE32.INI.");
  EXPECT_EQ(SettingsNotSavedMessage("/d/TARVE32.INI", true),
            "No se han podido guardar los datos en /d/TARVE32.INI. La partida en curso no se podrá "
            "continuar.");
}

}  // namespace
}  // namespace tarvelis
