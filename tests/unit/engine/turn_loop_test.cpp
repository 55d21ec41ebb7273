#include "engine/turn_loop.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/deal.h"
#include "engine/hand_end.h"
#include "model/move_record.h"
#include "model/move_rules.h"
#include "support/engine_fixture.h"

namespace tarvelis {
namespace {

using testing::Table;

// Hooks as lambdas, so each test watches only what it needs.
struct Watch : EngineHooks {
  std::function<void(GameState&)> OnMove;
  void MoveMade(GameState& s) override {
    if (OnMove) OnMove(s);
  }
};

void AllAutomatic(GameState& s) {
  for (int seat = 1; seat <= kSeats; ++seat) s.SeatControl[seat] = kAutomatic;
  s.RulePauseBetweenMoves = kOff;
}

// The manual seat 4 clicks its last playable tile at every turn (the
// computer's own choice rarely agrees): the loop lays exactly that tile,
// turned to meet the end it goes on, and on the end the arrows gave when they
// were asked. A first lead of the double six takes no other tile.
TEST(ManualSeat, TheClickedTileIsLaidOnTheEndItFits) {
  int asked = 0;
  int forced = 0;
  for (std::uint32_t seed = 1; seed <= 20; ++seed) {
    Table t(seed);
    AllAutomatic(t.s);
    t.s.SeatControl[4] = kManual;
    t.s.RuleFirstLead = seed % 2 ? kFirstLeadDraw : kFirstLeadSixDouble;
    int clicked = 0;
    int arrows = 0;  // the end the arrows gave, 0 when not asked
    t.port.OnEvent = [&](const std::string& e) {
      if (e.rfind("end ", 0) == 0) arrows = e.back() - '0';
      if (e != "notice Jugador4" || t.s.CurrentSeat != 4) return;
      clicked = 0;
      for (int k = 1; k <= kSlots; ++k) clicked = EsJugable(t.s, 4, k) ? k : clicked;
      if (clicked != 0) t.port.Clicks = {clicked};
      t.port.Ends = {1 + asked % 2};
      arrows = 0;
    };
    Watch watch;
    watch.OnMove = [&](GameState& s) {
      const MoveEntry& e = s.MoveRecord[s.MoveNumber];
      if (s.HandNumber == 1 && s.MoveNumber == 1 && s.RuleFirstLead == kFirstLeadSixDouble) {
        EXPECT_EQ(std::make_pair(e[kFPipA], e[kFPipB]), std::make_pair(i16{6}, i16{6}));
        forced += s.CurrentSeat == 4;
      }
      if (s.CurrentSeat != 4 || clicked == 0) return;
      EXPECT_EQ(s.Hand[4][clicked].State, 1);
      EXPECT_EQ(BuscaHueco(s, e[kFPipA], e[kFPipB], 4), clicked);
      EXPECT_EQ(e[kFEvaluated], 0) << "the user's move is not the computer's";
      if (s.MoveNumber > 1) {
        EXPECT_EQ(e[kFPipA], e[kFEnd] == 1 ? e[kFEnd1PipsBefore] : e[kFEnd2PipsBefore]);
      }
      EXPECT_TRUE(arrows == 0 || e[kFEnd] == arrows) << "the end the arrows gave";
      asked += arrows != 0;
      clicked = 0;
    };
    t.ctx.Hooks = &watch;
    RunMatch(t.ctx, LoopEntry::kNewMatch);
    EXPECT_TRUE(t.EventsStarting("pause 4").empty()) << "no thinking over the user's own move";
    EXPECT_EQ(t.ctx.IllegalChoices, 0);
  }
  EXPECT_GT(asked, 1) << "some tiles fitted both ends";
  EXPECT_GT(forced, 0) << "seat 4 held the double six of some first hand";
}

// The user answers no at the end message: the last move is given back and
// the hand goes on from it; stepped forward again on the recorder, the hand
// ends again without a new move, and the match plays on to its end.
TEST(StepBack, NoAtTheEndGivesTheLastMoveBackAndSteppingItForwardEndsTheHand) {
  Table t(6);
  AllAutomatic(t.s);
  t.port.Answers = {false};
  int seat = 0, slot = 0, move = 0;  // of the last move before the first end
  size_t linesAtEnd = 0;
  int ended = 0;
  bool reopened = false;
  Watch watch;
  watch.OnMove = [&](GameState& s) {
    const MoveEntry& e = s.MoveRecord[s.MoveNumber];
    if (ended == 0)
      seat = s.CurrentSeat, move = s.MoveNumber, slot = BuscaHueco(s, e[kFPipA], e[kFPipB], seat);
  };
  t.ctx.Hooks = &watch;
  t.port.OnEvent = [&](const std::string& e) {
    if (ended < 2 && (e == "message C i e r r e" || e == "message Final de este juego")) {
      if (ended++ == 0) linesAtEnd = t.EventsStarting("line ").size();
      EXPECT_TRUE(ended == 1 || t.EventsStarting("line ").size() == linesAtEnd) << "no new move";
    } else if (ended == 1 && !reopened && e.rfind("notice ", 0) == 0) {
      reopened = true;
      EXPECT_TRUE(t.ctx.HandReopened);
      EXPECT_EQ(t.s.CurrentSeat, seat);
      EXPECT_EQ(t.s.MoveNumber, move);
      EXPECT_EQ(t.s.Hand[seat][slot].State, 0) << "the tile is back in the hand";
      EXPECT_TRUE(t.s.HandLog[1].Text.empty()) << "nothing logged before the answer";
      t.s.LiveMoveNumber = static_cast<i16>(t.s.MoveNumber + 1);
      ASSERT_TRUE(AvanzaJugada(t.s, nullptr));
    }
  };
  RunMatch(t.ctx, LoopEntry::kNewMatch);
  EXPECT_EQ(ended, 2);
  EXPECT_FALSE(t.s.MatchInProgress) << "the match still plays to its end";
  EXPECT_EQ(t.EventsStarting("taken back " + std::to_string(move)).size(), 1u);
}

TEST(Unwind, ANewMatchAskedForDuringAWaitRestartsTheOneLoop) {
  Table t(3);
  bool asked = false;
  bool restarted = false;
  long movesAfterRequest = 0;
  t.port.OnEvent = [&](const std::string& e) {
    if (!asked && e.rfind("notice ", 0) == 0 && t.s.HandNumber == 1 && t.s.MoveNumber == 5) {
      asked = true;
      const size_t events = t.port.Events.size();
      RunMatch(t.ctx, LoopEntry::kNewMatch);
      EXPECT_EQ(t.port.Events.size(), events) << "no second loop ran inside the first";
      EXPECT_EQ(t.ctx.Control.Pending, LoopEntry::kNewMatch);
    } else if (asked && !restarted) {
      if (e.rfind("line ", 0) == 0) ++movesAfterRequest;
      if (e == "message Comienza la Partida") restarted = true;
    }
  };
  RunMatch(t.ctx, LoopEntry::kNewMatch);
  EXPECT_TRUE(asked);
  EXPECT_TRUE(restarted);
  EXPECT_EQ(movesAfterRequest, 0);
  EXPECT_FALSE(t.ctx.Control.Running);
  EXPECT_EQ(t.ctx.Control.Pending, LoopEntry::kNone);
  EXPECT_FALSE(t.s.MatchInProgress) << "the new match was played to its end";
}

TEST(Unwind, ADamagedHandIsNotPlayedOn) {
  Table t(4);
  t.port.OnEvent = [&](const std::string& e) {
    if (e.rfind("notice ", 0) == 0 && t.s.MoveNumber == 6) t.ctx.Control.ExitRequested = true;
  };
  RunMatch(t.ctx, LoopEntry::kNewMatch);
  t.port.OnEvent = nullptr;
  t.ctx.Control.ExitRequested = false;
  t.s.SeatTileCount[2] = 9;
  const size_t events = t.port.Events.size();
  RunMatch(t.ctx, LoopEntry::kResumeHand);
  EXPECT_EQ(t.port.Events.size(), events);
  EXPECT_EQ(t.s.SeatTileCount[2], 9);
}

TEST(MoveRecord, AFullRecordGrowsBeforeItsLastEntryIsOverrun) {
  Table t(9);
  AllAutomatic(t.s);
  t.s.RulePauseBetweenMoves = kOn;
  size_t sizeWhenCut = 0;
  bool grown = false;
  t.port.OnEvent = [&](const std::string& e) {
    if (sizeWhenCut == 0 && e.rfind("notice ", 0) == 0 && t.s.MoveNumber == 4) {
      // Only the entry of this move is left.
      t.s.MoveRecord.resize(static_cast<size_t>(t.s.MoveNumber) + 1);
      sizeWhenCut = t.s.MoveRecord.size();
    } else if (sizeWhenCut != 0 && !grown && e.rfind("notice ", 0) == 0) {
      grown = true;
      EXPECT_EQ(t.s.MoveRecord.size(), sizeWhenCut + kMoveRecordStep);
    }
  };
  RunMatch(t.ctx, LoopEntry::kNewMatch);
  EXPECT_TRUE(grown);
  EXPECT_FALSE(t.s.MatchInProgress);
}

}  // namespace
}  // namespace tarvelis
