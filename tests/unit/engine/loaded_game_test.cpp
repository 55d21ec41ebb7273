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
using testing::TempFolder;

bool Starts(const std::string& e, const std::string& prefix) {
  return e.rfind(prefix, 0) == 0;
}

// Saves the game in play at the notice before move `saveAt` of hand 1, and
// loads it back at the notice before move `loadAt`, as the user does from the
// options menu while the loop waits. Returns the events from the load on.
struct SaveThenLoad {
  Table t{5};
  TempFolder folder;
  int savedSeat = 0;
  std::string savedLabel;
  std::string firstLineAfterSave;
  std::vector<std::string> afterLoad;
  bool loaded = false;
  bool loopRunningAtLoad = false;

  void Run(int saveAt, int loadAt) {
    bool saved = false;
    t.port.OnEvent = [&](const std::string& e) {
      if (loaded) {
        afterLoad.push_back(e);
        return;
      }
      if (saved && firstLineAfterSave.empty() && Starts(e, "line ")) firstLineAfterSave = e;
      if (!Starts(e, "notice ") || t.s.HandNumber != 1) return;
      if (t.s.MoveNumber == saveAt && !saved) {
        SavedGames save(SavedGamesMode::kSave, folder.path());
        save.Type("Partida");
        ASSERT_EQ(save.GuardaMano(t.s), SavedGameOutcome::kDone);
        savedSeat = t.s.CurrentSeat;
        savedLabel = e;
        saved = true;
      } else if (t.s.MoveNumber == loadAt && saved) {
        SavedGames load(SavedGamesMode::kLoad, folder.path());
        load.Type("Partida");
        ASSERT_EQ(load.CargaMano(t.s), SavedGameOutcome::kDone);
        SettleLoadedGame(t.s);
        loaded = true;
        loopRunningAtLoad = t.ctx.Control.Running;
        const size_t events = t.port.Events.size();
        EXPECT_TRUE(AnswerRefreshRequest(t.ctx));
        EXPECT_EQ(t.port.Events.size(), events) << "no second loop inside the waiting one";
      }
    };
    RunMatch(t.ctx, LoopEntry::kNewMatch);
  }
};

TEST(LoadedGame, PlayRestartsWithTheSeatThatWasToMoveWhenSaved) {
  SaveThenLoad run;
  run.Run(4, 11);
  ASSERT_TRUE(run.loaded);
  EXPECT_TRUE(run.loopRunningAtLoad);
  ASSERT_FALSE(run.afterLoad.empty());
  // The one loop unwinds and restarts: the first thing it does is stop before
  // the saved seat's move, and that move is the one played after the save.
  std::string firstNotice, firstLine;
  for (const std::string& e : run.afterLoad) {
    if (firstNotice.empty() && Starts(e, "notice ")) firstNotice = e;
    if (firstLine.empty() && Starts(e, "line ")) firstLine = e;
  }
  EXPECT_EQ(firstNotice, run.savedLabel);
  EXPECT_EQ(firstLine, run.firstLineAfterSave);
  EXPECT_FALSE(run.t.s.RefreshRequest);
  EXPECT_FALSE(run.t.ctx.Control.Running);
  EXPECT_FALSE(run.t.s.MatchInProgress) << "the loaded match is played to its end";
}

TEST(LoadedGame, WithNoLoopRunningTheLoadStartsPlay) {
  // A game saved in the middle of a hand, loaded on an idle table.
  Table before(6);
  TempFolder folder;
  std::string savedLabel, lineAfterSave;
  bool saved = false;
  before.port.OnEvent = [&](const std::string& e) {
    if (saved) {
      if (lineAfterSave.empty() && Starts(e, "line ")) lineAfterSave = e;
      return;
    }
    if (Starts(e, "notice ") && before.s.MoveNumber == 6) {
      SavedGames save(SavedGamesMode::kSave, folder.path());
      save.Type("Idle");
      ASSERT_EQ(save.GuardaMano(before.s), SavedGameOutcome::kDone);
      savedLabel = e;
      saved = true;
    }
  };
  RunMatch(before.ctx, LoopEntry::kNewMatch);
  ASSERT_TRUE(saved);

  Table idle(6);
  ASSERT_FALSE(AnswerRefreshRequest(idle.ctx)) << "nothing asked, nothing played";
  EXPECT_TRUE(idle.port.Events.empty());
  SavedGames load(SavedGamesMode::kLoad, folder.path());
  load.Type("Idle");
  ASSERT_EQ(load.CargaMano(idle.s), SavedGameOutcome::kDone);
  SettleLoadedGame(idle.s);
  ASSERT_TRUE(AnswerRefreshRequest(idle.ctx));
  ASSERT_FALSE(idle.port.Events.empty());
  std::string firstNotice, firstLine;
  for (const std::string& e : idle.port.Events) {
    if (firstNotice.empty() && Starts(e, "notice ")) firstNotice = e;
    if (firstLine.empty() && Starts(e, "line ")) firstLine = e;
  }
  EXPECT_EQ(firstNotice, savedLabel);
  EXPECT_EQ(firstLine, lineAfterSave);
}

TEST(LoadedGame, ASavedGameWithoutAMatchEndsTheWaitingLoop) {
  Table t(7);
  TempFolder folder;
  GameState settingsOnly;
  ApplyDefaults(settingsOnly);
  SavedGames save(SavedGamesMode::kSave, folder.path());
  save.Type("Ajustes");
  ASSERT_EQ(save.GuardaMano(settingsOnly), SavedGameOutcome::kDone);
  bool loaded = false;
  size_t eventsAtLoad = 0;
  t.port.OnEvent = [&](const std::string& e) {
    if (!loaded && Starts(e, "notice ") && t.s.MoveNumber == 5) {
      SavedGames load(SavedGamesMode::kLoad, folder.path());
      load.Type("Ajustes");
      ASSERT_EQ(load.CargaMano(t.s), SavedGameOutcome::kDone);
      SettleLoadedGame(t.s);
      AnswerRefreshRequest(t.ctx);
      loaded = true;
      eventsAtLoad = t.port.Events.size();
    }
  };
  RunMatch(t.ctx, LoopEntry::kNewMatch);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(t.port.Events.size(), eventsAtLoad) << "nothing more is played";
  EXPECT_FALSE(t.s.MatchInProgress);
  EXPECT_FALSE(t.ctx.Control.Running);
}

TEST(LoadedGame, WhatTheWindowsWereDoingDoesNotCarryOver) {
  GameState s;
  ApplyDefaults(s);
  s.RecorderOn = s.OrderMode = s.TurnMode = s.DragActive = s.WaitingForEnd = true;
  s.MoveNumber = 9;
  s.HandNumber = 3;
  s.MatchInProgress = true;
  s.HandLog[1].PairTens = {0, 2, 0};
  s.HandLog[2].PairTens = {0, 1, 3};
  SettleLoadedGame(s);
  EXPECT_FALSE(s.RecorderOn || s.OrderMode || s.TurnMode || s.DragActive || s.WaitingForEnd);
  EXPECT_EQ(s.LiveMoveNumber, 9);
  EXPECT_EQ(s.PairTotal[1], 3) << "totals come back from the log";
  EXPECT_EQ(s.PairTotal[2], 3);
}

}  // namespace
}  // namespace tarvelis
