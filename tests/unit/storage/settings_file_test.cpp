// Loading and saving the settings file: the errors the player is shown, and
// a file that is never left damaged or half written.
#include "storage/settings_file.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tarvelis
