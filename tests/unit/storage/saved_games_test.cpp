// Saved games: which names may be used, the list, and loads, saves and
// deletes that never touch a file outside the folder nor lose a game.
#include "storage/saved_games.h"

#include <gtest/gtest.h>

#include "state_text.h"
#include "storage/state_file.h"
#include "support/sample_game.h"
#include "support/temp_folder.h"

namespace tarvelis {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

SavedGames Typed(SavedGamesMode mode, const TempFolder& folder, const std::string& text) {
  SavedGames g(mode, folder.path());
  g.Type(text);
  return g;
}

TEST(SavedGameName, IsTheFirst64CharactersTrimmed) {
  const std::string seventy(70, 'x');
  const std::string accented = std::string(63, 'a') + "ñé";  // 65 characters, 67 bytes
  const struct {
    std::string typed, name;
  } cases[] = {
      {"  Partida 1  ", "Partida 1"},
      {"   ", ""},
      {seventy, std::string(64, 'x')},
      {accented, std::string(63, 'a') + "ñ"},
      {std::string(63, 'b') + " tail", std::string(63, 'b')},  // cut, then trimmed
  };
  for (const auto& c : cases) EXPECT_EQ(SavedGameName(c.typed), c.name) << c.typed;
}

TEST(SavedGameName, NamesThatWouldLeaveTheFolderCannotBeOpened) {
  for (const char* bad : {"", ".", "..", "../fuera", "a/b", "/etc/passwd", "a\\b", "..\\x",
                          "tab\there", "nl\nx", "del\x7f", "c1\xc2\x85", "broken\xc3"}) {
    EXPECT_FALSE(IsPlainSavedGameName(bad)) << bad;
  }
  for (const char* good : {"Partida", "...", "a.b", "Mi partida ñ", ".oculta", "-n"}) {
    EXPECT_TRUE(IsPlainSavedGameName(good)) << good;
  }
}

TEST(SavedGames, ActionButtonFollowsTheNameInEveryMode) {
  TempFolder folder;
  WriteBytes(folder / "Existe.man", "x");
  WriteBytes(folder / "Vieja.MAN", "x");
  fs::create_directory(folder / "Carpeta.man");
  const struct {
    SavedGamesMode mode;
    const char* typed;
    bool enabled;
  } cases[] = {
      {SavedGamesMode::kLoad, "Existe", true},
      {SavedGamesMode::kLoad, "  Existe ", true},
      {SavedGamesMode::kLoad, "Vieja", true},  // written as ".MAN"
      {SavedGamesMode::kLoad, "Nueva", false},
      {SavedGamesMode::kLoad, "Carpeta", false},  // a folder is no saved game
      {SavedGamesMode::kDelete, "Existe", true},
      {SavedGamesMode::kDelete, "", false},
      {SavedGamesMode::kSave, "Nueva", true},
      {SavedGamesMode::kSave, "Existe", true},
      {SavedGamesMode::kSave, "   ", false},
      {SavedGamesMode::kSave, "../Existe", false},
      {SavedGamesMode::kSave, "..", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Typed(c.mode, folder, c.typed).ActionEnabled(), c.enabled)
        << static_cast<int>(c.mode) << " '" << c.typed << "'";
  }
}

TEST(SavedGames, TheListHoldsEachSavedGameOnceWithoutItsEnding) {
  TempFolder folder;
  for (const char* file : {"beta.man", "Alfa.man", "alfa.MAN", "Gamma.Man", "notas.txt",
                           "x.man.tmp", " espacio.man", ".man"}) {
    WriteBytes(folder / file, "x");
  }
  fs::create_directory(folder / "Carpeta.man");
  const std::vector<std::string> expected = {"Alfa", "alfa", "beta", "Gamma"};
  EXPECT_EQ(ListSavedGames(folder.path()), expected);
  EXPECT_TRUE(ListSavedGames(folder / "missing").empty());
}

TEST(SavedGames, SaveLoadAndDeleteRoundTrip) {
  TempFolder folder;
  const GameState played = sample::RichState(20, 3);
  SavedGames save = Typed(SavedGamesMode::kSave, folder, "Partida de Begoña");
  ASSERT_EQ(save.GuardaMano(played), SavedGameOutcome::kDone);
  EXPECT_EQ(ReadBytes(folder / "Partida de Begoña.man"), StateFileText(played));

  GameState s = sample::RichState(6, 1);
  SavedGames load = Typed(SavedGamesMode::kLoad, folder, "Partida de Begoña");
  ASSERT_EQ(load.CargaMano(s), SavedGameOutcome::kDone);
  EXPECT_EQ(s.MoveRecord[19], played.MoveRecord[19]);
  EXPECT_EQ(s.CurrentSeat, played.CurrentSeat);
  EXPECT_EQ(s.HandLog[3].Text, played.HandLog[3].Text);
  EXPECT_TRUE(s.HandLog[4].Text.empty()) << "the hand in play has no result yet";
  EXPECT_EQ(s.HandLog[4].PairUnits[1] + s.HandLog[4].PairTens[2], 0);
  EXPECT_TRUE(s.RefreshRequest);

  SavedGames del = Typed(SavedGamesMode::kDelete, folder, "Partida de Begoña");
  ASSERT_EQ(del.Borra(), SavedGameOutcome::kDone);
  EXPECT_TRUE(ListSavedGames(folder.path()).empty());
  EXPECT_FALSE(del.ActionEnabled());
  EXPECT_EQ(del.Borra(), SavedGameOutcome::kRefused);
}

TEST(SavedGames, OverwritingNeedsASecondPressThatTypingWithdraws) {
  TempFolder folder;
  const GameState first = sample::RichState(8, 1);
  const GameState second = sample::RichState(14, 2);
  ASSERT_EQ(Typed(SavedGamesMode::kSave, folder, "Partida").GuardaMano(first),
            SavedGameOutcome::kDone);

  SavedGames g = Typed(SavedGamesMode::kSave, folder, "Partida");
  EXPECT_EQ(g.GuardaMano(second), SavedGameOutcome::kConfirmFirst);
  EXPECT_EQ(g.Message(), kSavedGameExistsMessage);
  EXPECT_EQ(ReadBytes(folder / "Partida.man"), StateFileText(first));
  // Typing in between withdraws the confirmation.
  g.Type("Partid");
  g.Type("Partida");
  EXPECT_FALSE(g.OverwritePending());
  EXPECT_EQ(g.Message(), SavedGamesMessage(SavedGamesMode::kSave));
  EXPECT_EQ(g.GuardaMano(second), SavedGameOutcome::kConfirmFirst);
  EXPECT_EQ(g.GuardaMano(second), SavedGameOutcome::kDone);
  EXPECT_EQ(ReadBytes(folder / "Partida.man"), StateFileText(second));
}

TEST(SavedGames, AnOldCapitalEndingIsFoundLoadedReplacedAndDeleted) {
  TempFolder folder;
  const GameState old = sample::RichState(8, 1);
  ASSERT_TRUE(SaveStateFile(old, folder / "Antigua.MAN"));
  EXPECT_EQ(FindSavedGame(folder.path(), "Antigua"), folder / "Antigua.MAN");

  GameState s;
  ASSERT_EQ(Typed(SavedGamesMode::kLoad, folder, "Antigua").CargaMano(s), SavedGameOutcome::kDone);
  EXPECT_EQ(s.MoveRecord[7], old.MoveRecord[7]);

  // Saving over it needs the confirmation and leaves one copy, the new one.
  SavedGames save = Typed(SavedGamesMode::kSave, folder, "Antigua");
  EXPECT_EQ(save.GuardaMano(sample::RichState(12, 2)), SavedGameOutcome::kConfirmFirst);
  EXPECT_EQ(save.GuardaMano(sample::RichState(12, 2)), SavedGameOutcome::kDone);
  EXPECT_FALSE(fs::exists(folder / "Antigua.MAN"));
  EXPECT_EQ(ListSavedGames(folder.path()), std::vector<std::string>{"Antigua"});

  ASSERT_TRUE(SaveStateFile(old, folder / "Antigua.MAN"));
  ASSERT_EQ(Typed(SavedGamesMode::kDelete, folder, "Antigua").Borra(), SavedGameOutcome::kDone);
  EXPECT_TRUE(ListSavedGames(folder.path()).empty()) << "both copies go";
}

TEST(SavedGames, NothingIsWrittenOrDeletedOutsideTheFolder) {
  TempFolder outer;
  fs::create_directory(outer / "datos");
  const fs::path data = outer / "datos";
  WriteBytes(outer / "fuera.man", "keep");
  const GameState s = sample::RichState(8, 1);
  for (const char* name : {"../fuera", "..", "sub/x", "..\\fuera"}) {
    SavedGames save(SavedGamesMode::kSave, data);
    save.Type(name);
    EXPECT_EQ(save.GuardaMano(s), SavedGameOutcome::kRefused) << name;
    EXPECT_EQ(save.GuardaMano(s), SavedGameOutcome::kRefused) << name;
    SavedGames del(SavedGamesMode::kDelete, data);
    del.Type(name);
    EXPECT_EQ(del.Borra(), SavedGameOutcome::kRefused) << name;
  }
  EXPECT_EQ(ReadBytes(outer / "fuera.man"), "keep");
  EXPECT_TRUE(fs::is_empty(data));
}

TEST(SavedGames, AFailedSaveKeepsTheGameItWouldReplace) {
  TempFolder folder;
  const GameState first = sample::RichState(8, 1);
  ASSERT_EQ(Typed(SavedGamesMode::kSave, folder, "Partida").GuardaMano(first),
            SavedGameOutcome::kDone);
  // A folder where the new file is written beside the old one makes the save fail.
  fs::create_directory(folder / "Partida.man.tmp");
  SavedGames g = Typed(SavedGamesMode::kSave, folder, "Partida");
  g.GuardaMano(sample::RichState(14, 2));
  EXPECT_EQ(g.GuardaMano(sample::RichState(14, 2)), SavedGameOutcome::kFailed);
  EXPECT_FALSE(g.Error().empty());
  EXPECT_EQ(ReadBytes(folder / "Partida.man"), StateFileText(first));
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
    SavedGames g = Typed(SavedGamesMode::kLoad, folder, name);
    EXPECT_EQ(g.CargaMano(s), SavedGameOutcome::kFailed) << name;
    EXPECT_NE(g.Error().find(name), std::string::npos) << g.Error();
    EXPECT_NE(g.Error().find("dañado"), std::string::npos) << g.Error();
    testing::ExpectSameCarriedFields(current, s);
    EXPECT_FALSE(s.RefreshRequest);
  }
}

}  // namespace
}  // namespace tarvelis
