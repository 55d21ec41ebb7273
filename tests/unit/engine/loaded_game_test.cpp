// A saved game loaded over the game in play: the one loop restarts from the
// loaded position, and the seat that was to move when it was saved moves.
#include "engine/loaded_game.h"

#include <gtest/gtest.h>

#include "storage/saved_games.h"
#include "support/engine_fixture.h"
#include "support/temp_folder.h"

namespace tarvelis {
namespace {

using testing::Table;

bool Starts(const std::string& e, const std::string& prefix) {
  return e.rfind(prefix, 0) == 0;
}

// As the options menu does it while the loop waits at the continue button.
void Act(SavedGamesMode mode, GameState& s, const std::filesystem::path& folder) {
  SavedGames g(mode, folder);
  g.Type("Partida");
  const SavedGameOutcome done = mode == SavedGamesMode::kSave ? g.GuardaMano(s) : g.CargaMano(s);
  ASSERT_EQ(done, SavedGameOutcome::kDone);
}

TEST(LoadedGame, PlayRestartsInTheOneLoopWithTheSeatThatWasToMove) {
  for (const bool whileWaiting : {true, false}) {
    SCOPED_TRACE(whileWaiting ? "loaded while the loop waits" : "loaded on an idle table");
    testing::TempFolder folder;
    Table t(5);
    std::string savedNotice, moveAfterSave, noticeAfterLoad, moveAfterLoad;
    bool loaded = false;
    t.port.OnEvent = [&](const std::string& e) {
      std::string& notice = loaded ? noticeAfterLoad : savedNotice;
      std::string& line = loaded ? moveAfterLoad : moveAfterSave;
      if (!savedNotice.empty() && line.empty() && Starts(e, "line ")) line = e;
      if (!Starts(e, "notice ") || t.s.HandNumber != 1) return;
      if (notice.empty() && (loaded || t.s.MoveNumber == 4)) {
        notice = e;
        if (!loaded) Act(SavedGamesMode::kSave, t.s, folder.path());
      } else if (!loaded && t.s.MoveNumber == 11) {
        loaded = true;
        if (!whileWaiting) {
          t.ctx.Control.ExitRequested = true;  // the program was left
          return;
        }
        Act(SavedGamesMode::kLoad, t.s, folder.path());
        const size_t events = t.port.Events.size();
        ResumeLoadedGame(t.ctx);
        EXPECT_EQ(t.port.Events.size(), events) << "no second loop inside the waiting one";
      }
    };
    RunMatch(t.ctx, LoopEntry::kNewMatch);
    if (!whileWaiting) {
      t.ctx.Control.ExitRequested = false;
      Act(SavedGamesMode::kLoad, t.s, folder.path());
      ResumeLoadedGame(t.ctx);
    }
    ASSERT_TRUE(loaded);
    EXPECT_EQ(noticeAfterLoad, savedNotice);
    EXPECT_EQ(moveAfterLoad, moveAfterSave);
    EXPECT_FALSE(t.ctx.Control.Running);
    EXPECT_FALSE(t.s.MatchInProgress) << "the loaded match is played to its end";
  }
}

TEST(LoadedGame, ASavedGameWithoutAMatchEndsTheWaitingLoop) {
  testing::TempFolder folder;
  GameState settingsOnly;
  ApplyDefaults(settingsOnly);
  Act(SavedGamesMode::kSave, settingsOnly, folder.path());
  Table t(7);
  size_t eventsAtLoad = 0;
  t.port.OnEvent = [&](const std::string& e) {
    if (eventsAtLoad == 0 && Starts(e, "notice ") && t.s.MoveNumber == 5) {
      Act(SavedGamesMode::kLoad, t.s, folder.path());
      ResumeLoadedGame(t.ctx);
      eventsAtLoad = t.port.Events.size();
    }
  };
  RunMatch(t.ctx, LoopEntry::kNewMatch);
  ASSERT_GT(eventsAtLoad, 0u);
  EXPECT_EQ(t.port.Events.size(), eventsAtLoad) << "nothing more is played";
  EXPECT_FALSE(t.ctx.Control.Running);
}

}  // namespace
}  // namespace tarvelis
