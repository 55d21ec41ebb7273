// Saved games: which names may be used, the list, and loads, saves and
// deletes that never touch a file outside the folder nor lose a game.
#include "storage/saved_games.h"

#include <gtest/gtest.h>

#include "state_text.h"
#include "storage/state_file.h"
#include "support/file_size_limit.h"
#include "support/sample_game.h"
#include "support/temp_folder.h"

namespace tarvelis {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

SavedGames Typed(SavedGamesMode mode, const fs::path& folder, const std::string& text) {
  SavedGames g(mode, folder);
  g.Type(text);
  return g;
}

TEST(SavedGameName, IsTheFirst64CharactersTrimmedAndNeverLeavesTheFolder) {
  EXPECT_EQ(SavedGameName("  Partida 1  "), "Partida 1");
  EXPECT_EQ(SavedGameName(std::string(70, 'x')), std::string(64, 'x'));
  EXPECT_EQ(SavedGameName(std::string(63, 'a') + "ñé"), std::string(63, 'a') + "ñ");
  for (const char* bad : {"", ".", "..", "../fuera", "a/b", "a\\b", "tab\there", "del\x7f",
                          "c1\xc2\x85", "broken\xc3"}) {
    EXPECT_FALSE(IsPlainSavedGameName(bad)) << bad;
  }
  for (const char* good : {"...", "a.b", "Mi partida ñ", ".oculta"}) {
    EXPECT_TRUE(IsPlainSavedGameName(good)) << good;
  }
}

TEST(SavedGames, TheListHoldsEachSavedGameOnceWithoutItsEnding) {
  TempFolder folder;
  for (const char* file : {"beta.man", "Alfa.man", "alfa.MAN", "Gamma.Man", "notas.txt",
                           "x.man.tmp", " espacio.man", ".man"}) {
    WriteBytes(folder / file, "x");
  }
  fs::create_directory(folder / "Carpeta.man");
  EXPECT_EQ(ListSavedGames(folder.path()),
            (std::vector<std::string>{"Alfa", "alfa", "beta", "Gamma"}));
}

TEST(SavedGames, SaveOverwriteWithASecondPressLoadAndDelete) {
  TempFolder folder;
  const GameState first = sample::RichState(8, 1);
  const GameState second = sample::RichState(20, 3);
  ASSERT_EQ(Typed(SavedGamesMode::kSave, folder.path(), "Partida").GuardaMano(first),
            SavedGameOutcome::kDone);

  SavedGames save = Typed(SavedGamesMode::kSave, folder.path(), " Partida ");
  EXPECT_EQ(save.GuardaMano(second), SavedGameOutcome::kConfirmFirst);
  EXPECT_EQ(save.Message(), kSavedGameExistsMessage);
  save.Type("Partida");  // typing withdraws the question
  EXPECT_EQ(save.Message(), SavedGamesMessage(SavedGamesMode::kSave));
  EXPECT_EQ(save.GuardaMano(second), SavedGameOutcome::kConfirmFirst);
  EXPECT_EQ(ReadBytes(folder / "Partida.man"), StateFileText(first));
  EXPECT_EQ(save.GuardaMano(second), SavedGameOutcome::kDone);
  EXPECT_EQ(ReadBytes(folder / "Partida.man"), StateFileText(second));

  GameState s = first;
  ASSERT_EQ(Typed(SavedGamesMode::kLoad, folder.path(), "Partida").CargaMano(s),
            SavedGameOutcome::kDone);
  EXPECT_TRUE(s.HandLog[4].Text.empty()) << "the hand in play has no result yet";
  testing::ExpectSameCarriedFields(s, second);

  SavedGames del = Typed(SavedGamesMode::kDelete, folder.path(), "Partida");
  ASSERT_EQ(del.Borra(), SavedGameOutcome::kConfirmFirst) << "a delete asks first";
  EXPECT_EQ(del.Message(), kSavedGameDeleteConfirm);
  del.Type("Partida");  // typing withdraws the question
  ASSERT_EQ(del.Borra(), SavedGameOutcome::kConfirmFirst);
  EXPECT_EQ(ListSavedGames(folder.path()).size(), 1u);
  ASSERT_EQ(del.Borra(), SavedGameOutcome::kDone);
  EXPECT_TRUE(ListSavedGames(folder.path()).empty());
  EXPECT_EQ(del.Borra(), SavedGameOutcome::kRefused);
}

// A name that cannot be used says why instead of being cut or refused
// without a word.
TEST(SavedGames, ANameThatCannotBeUsedSaysWhy) {
  TempFolder folder;
  const struct {
    std::string typed;
    const char* message;
  } cases[] = {
      {"a/b", kSavedGameNameNotPlain},
      {std::string(65, 'x'), kSavedGameNameTooLong},
      {std::string(64, 'x') + "  ", nullptr},
      {"Partida", nullptr},
  };
  for (const auto& c : cases) {
    const SavedGames save = Typed(SavedGamesMode::kSave, folder.path(), c.typed);
    EXPECT_EQ(save.Message(), c.message ? c.message : SavedGamesMessage(SavedGamesMode::kSave))
        << c.typed;
    EXPECT_EQ(save.ActionEnabled(), c.message == nullptr) << c.typed;
  }
}

TEST(SavedGames, NothingIsWrittenOrDeletedOutsideTheFolder) {
  TempFolder outer;
  const fs::path data = outer / "datos";
  fs::create_directory(data);
  WriteBytes(outer / "fuera.man", "keep");
  for (const char* name : {"../fuera", "..", "sub/x", "..\\fuera"}) {
    SavedGames save = Typed(SavedGamesMode::kSave, data, name);
    EXPECT_EQ(save.GuardaMano(GameState{}), SavedGameOutcome::kRefused) << name;
    EXPECT_EQ(Typed(SavedGamesMode::kDelete, data, name).Borra(), SavedGameOutcome::kRefused);
  }
  EXPECT_EQ(ReadBytes(outer / "fuera.man"), "keep");
  EXPECT_TRUE(fs::is_empty(data));
}

// A link among the saved games (an unpacked archive) counts only when it
// leads to a file of the folder, and a save never writes through one.
TEST(SavedGames, LinksLeadingOutAreNotGamesAndNoSaveWritesThroughALink) {
  TempFolder outer;
  const fs::path data = outer / "datos";
  fs::create_directory(data);
  const std::string game = StateFileText(sample::RichState(10, 1));
  WriteBytes(outer / "fuera.man", game);
  WriteBytes(data / "dentro.man", game);
  fs::create_symlink(outer / "fuera.man", data / "a.man");
  fs::create_symlink(data / "dentro.man", data / "b.man");
  EXPECT_EQ(ListSavedGames(data), (std::vector<std::string>{"b", "dentro"}));
  for (const char* name : {"a", "b"}) {
    SavedGames save = Typed(SavedGamesMode::kSave, data, name);
    while (save.GuardaMano(GameState{}) == SavedGameOutcome::kConfirmFirst) {
    }
    EXPECT_FALSE(fs::is_symlink(data / (std::string(name) + ".man"))) << name;
  }
  EXPECT_EQ(ReadBytes(outer / "fuera.man"), game);
  EXPECT_EQ(ReadBytes(data / "dentro.man"), game);
}

// An old capital ending is replaced by one lower-case copy, but only once
// the new file is whole.
TEST(SavedGames, AFailedSaveKeepsTheGameItWouldReplace) {
  TempFolder folder;
  const GameState first = sample::RichState(8, 1);
  ASSERT_TRUE(SaveStateFile(first, folder / "Partida.MAN"));
  SavedGames g = Typed(SavedGamesMode::kSave, folder.path(), "Partida");
  const GameState second = sample::RichState(14, 2);
  EXPECT_EQ(g.GuardaMano(second), SavedGameOutcome::kConfirmFirst);
  {
    testing::FileSizeLimit full(100);  // the disk fills up half way through
    EXPECT_EQ(g.GuardaMano(second), SavedGameOutcome::kFailed);
  }
  EXPECT_FALSE(g.Error().empty());
  EXPECT_EQ(ReadBytes(folder / "Partida.MAN"), StateFileText(first));
  EXPECT_EQ(g.GuardaMano(second), SavedGameOutcome::kDone);
  EXPECT_FALSE(fs::exists(folder / "Partida.MAN"));
  EXPECT_EQ(ReadBytes(folder / "Partida.man"), StateFileText(second));
}

TEST(SavedGames, ADamagedSavedGameLeavesTheGameInPlayAsItWas) {
  TempFolder folder;
  const std::string text = StateFileText(sample::RichState(20, 3));
  WriteBytes(folder / "Cortada.man", text.substr(0, text.size() / 2));
  WriteBytes(folder / "Basura.man", "esto no es una partida\r\n");
  GameState broken = sample::RichState(20, 3);
  --broken.MoveNumber;  // a played tile without its record
  ASSERT_TRUE(SaveStateFile(broken, folder / "Rota.man"));
  const GameState current = sample::RichState(12, 2);
  for (const char* name : {"Cortada", "Basura", "Rota"}) {
    GameState s = current;
    SavedGames g = Typed(SavedGamesMode::kLoad, folder.path(), name);
    EXPECT_EQ(g.CargaMano(s), SavedGameOutcome::kFailed) << name;
    EXPECT_NE(g.Error().find("dañado"), std::string::npos) << g.Error();
    testing::ExpectSameCarriedFields(current, s);
  }
}

}  // namespace
}  // namespace tarvelis
