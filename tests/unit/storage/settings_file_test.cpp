// Loading and saving the settings file and the saved games: the errors the
// player is shown, and files that are never left damaged or overwritten.
#include "storage/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "state_text.h"
#include "storage/state_file.h"
#include "support/file_size_limit.h"
#include "support/sample_game.h"
#include "support/temp_folder.h"

namespace tarvelis {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

TEST(LoadSettings, AMissingFileIsCreatedWithTheDefaultsAndSaysSo) {
  TempFolder folder;
  GameState s = sample::RichState(10, 2);  // whatever was there before
  const LoadReport report = LoadSettings(s, folder.path());
  EXPECT_EQ(report.ErrorNumber, 53);
  EXPECT_EQ(report.Message,
            "No se encuentra el fichero de inicialización TARVE32.INI. Se ha  procedido  a  "
            "crearlo automáticamente  con  los  valores establecidos por defecto.");
  EXPECT_EQ(report.Title, "Error en la carga de datos iniciales");
  GameState expected;
  ApplyNewFileState(expected);
  testing::ExpectSameCarriedFields(expected, s);
  EXPECT_TRUE(s.HandLog[1].Text.empty());
  EXPECT_EQ(ReadBytes(folder / "TARVE32.INI"), StateFileText(expected));
  EXPECT_EQ(LoadSettings(s, folder.path()).ErrorNumber, 0);
}

TEST(LoadSettings, AMissingFileThatCannotBeCreatedIsNotSaidToBeCreated) {
  TempFolder folder;
  GameState s;
  const LoadReport report = [&] {
    testing::FileSizeLimit full(0);
    return LoadSettings(s, folder.path());
  }();
  EXPECT_EQ(report.ErrorNumber, 53);
  EXPECT_TRUE(report.SettingsNotSaved);
  EXPECT_EQ(report.Message, kNotCreatedMessage);
  EXPECT_FALSE(std::filesystem::exists(folder / "TARVE32.INI"));
}

TEST(LoadSettings, AMissingFolderIsError76) {
  TempFolder folder;
  GameState s;
  const LoadReport report = LoadSettings(s, folder / "no-such-folder");
  EXPECT_EQ(report.ErrorNumber, 76);
  EXPECT_EQ(report.Message, "CID ERROR 76: No existe el fichero de inicialización TARVE32.INI");
  EXPECT_EQ(s.SeatName[2], "Jugador2");
  EXPECT_FALSE(std::filesystem::exists(folder / "no-such-folder"));
  WriteBytes(folder / "a-file", "x");
  EXPECT_EQ(LoadSettings(s, folder / "a-file").ErrorNumber, 76);
}

TEST(LoadSettings, AFolderNamedLikeTheFileIsReportedAndLeftAlone) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "TARVE32.INI");
  GameState s = sample::RichState(5, 1);
  const LoadReport report = LoadSettings(s, folder.path());
  EXPECT_EQ(report.ErrorNumber, 75);
  EXPECT_EQ(report.Message, "CID ERROR 75");
  EXPECT_FALSE(s.MatchInProgress);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "TARVE32.INI"));
}

TEST(LoadSettings, AFileCutShortKeepsWhatWasReadAndIsNotRewritten) {
  TempFolder folder;
  const GameState saved = sample::RichState(20, 3);
  const std::string text = StateFileText(saved);
  const std::string cut = text.substr(0, text.find("\r\n") + 2);  // the settings line only
  WriteBytes(folder / "TARVE32.INI", cut);
  GameState s;
  const LoadReport report = LoadSettings(s, folder.path());
  EXPECT_EQ(report.ErrorNumber, 62);
  // The program will write its own file over it at the exit; what the user
  // had is kept beside it.
  EXPECT_EQ(report.Message, "CID ERROR 62 Se ha guardado una copia del fichero en " +
                                (folder / "TARVE32.INI.damaged").string() + ".");
  EXPECT_EQ(ReadBytes(folder / "TARVE32.INI.damaged"), cut);
  EXPECT_EQ(s.SeatName, saved.SeatName);
  EXPECT_EQ(s.RuleTieWinner, saved.RuleTieWinner);
  EXPECT_EQ(s.MatchTarget, 5);  // on the line never read: the default
  EXPECT_FALSE(s.MatchInProgress);
  EXPECT_EQ(ReadBytes(folder / "TARVE32.INI"), cut);
}

TEST(LoadErrorMessage, FollowsTheTableOfErrors) {
  EXPECT_EQ(LoadErrorMessage(7, "/x"), "CID ERROR 7 : Insuficiente memoria");
  EXPECT_EQ(LoadErrorMessage(68, "/media/usb/tarvelis"),
            "CID ERROR 68: Unidad /media/usb/tarvelis: no preparada");
  EXPECT_EQ(LoadErrorMessage(6, "/x"), "");
  EXPECT_EQ(LoadErrorMessage(9, "/x"), "CID ERROR 9");
}

TEST(SaveSettings, ReplacesTheFileWholeOrSaysItFailedAndKeepsTheOldOne) {
  TempFolder folder;
  GameState s = sample::RichState(15, 2);
  ASSERT_TRUE(SaveSettings(s, folder.path()));
  s.SeatName[1] = "Otro";
  ASSERT_TRUE(SaveSettings(s, folder.path()));
  const std::string saved = ReadBytes(folder / "TARVE32.INI");
  EXPECT_EQ(saved, StateFileText(s));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1)
      << "no temporary file is left behind";
  GameState back;
  EXPECT_EQ(LoadSettings(back, folder.path()).ErrorNumber, 0);
  testing::ExpectSameCarriedFields(s, back);
  // The disk fills up half way through the new file.
  s.SeatName[1] = "Otra";
  {
    testing::FileSizeLimit full(saved.size() / 2);
    EXPECT_FALSE(SaveSettings(s, folder.path()));
  }
  EXPECT_EQ(ReadBytes(folder / "TARVE32.INI"), saved);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
  EXPECT_FALSE(SaveSettings(s, folder / "no-such-folder"));
}

TEST(SaveSettings, AFullDiskIsAFailure) {
  std::ofstream full("/dev/full", std::ios::binary);
  if (!full.is_open()) GTEST_SKIP() << "no /dev/full here";
  EXPECT_FALSE(WriteAndClose(full, StateFileText(sample::RichState(30, 5))));
}

TEST(SavedGame, LoadsWholeAndEmptiesTheLogOfTheHandInPlay) {
  TempFolder folder;
  const GameState saved = sample::RichState(20, 3);
  ASSERT_TRUE(SaveStateFile(saved, folder / "Partida.man"));
  GameState s;
  ASSERT_TRUE(LoadSavedGame(s, folder / "Partida.man"));
  EXPECT_EQ(s.HandNumber, 4);
  EXPECT_EQ(s.HandLog[3].Text, saved.HandLog[3].Text);
  EXPECT_TRUE(s.HandLog[4].Text.empty());
  EXPECT_EQ(s.HandLog[4].PairUnits[1], 0);
  EXPECT_EQ(s.MoveRecord[20], saved.MoveRecord[20]);
}

TEST(SavedGame, AFileThatDoesNotLoadWholeChangesNothing) {
  TempFolder folder;
  const GameState current = sample::RichState(12, 2);
  const std::string text = StateFileText(sample::RichState(20, 3));
  WriteBytes(folder / "Cortada.man", text.substr(0, text.size() / 2));
  GameState broken = sample::RichState(20, 3);
  --broken.MoveNumber;  // a played tile without its record
  ASSERT_TRUE(SaveStateFile(broken, folder / "Rota.man"));
  for (const char* name : {"Cortada.man", "Rota.man", "Ninguna.man"}) {
    GameState s = current;
    EXPECT_FALSE(LoadSavedGame(s, folder / name)) << name;
    testing::ExpectSameCarriedFields(current, s);
  }
}

}  // namespace
}  // namespace tarvelis
