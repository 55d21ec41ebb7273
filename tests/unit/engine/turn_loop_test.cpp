#include "engine/turn_loop.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "engine/deal.h"
#include "engine/hand_end.h"
#include "model/consistency.h"
#include "model/move_record.h"
#include "model/move_rules.h"
#include "storage/state_file.h"
#include "support/engine_fixture.h"

namespace tarvelis {
namespace {

using testing::Table;

// Hooks as lambdas, so each test watches only what it needs.
struct Watch : EngineHooks {
  std::function<void(GameState&)> OnMove;
  std::function<void(GameState&)> OnDeal;
  std::function<void(const GameState&, const HandSummary&)> OnScore;
  void MoveMade(GameState& s) override {
    if (OnMove) OnMove(s);
  }
  void HandDealt(GameState& s) override {
    if (OnDeal) OnDeal(s);
  }
  void HandScored(const GameState& s, const HandSummary& h) override {
    if (OnScore) OnScore(s, h);
  }
};

void AllAutomatic(GameState& s) {
  for (int seat = 1; seat <= kSeats; ++seat) s.SeatControl[seat] = kAutomatic;
  s.RulePauseBetweenMoves = kOff;
}

std::vector<std::string> LinesAndMessages(const std::vector<std::string>& events) {
  std::vector<std::string> kept;
  for (const std::string& e : events) {
    if (e.rfind("line ", 0) == 0 || e.rfind("message ", 0) == 0) kept.push_back(e);
  }
  return kept;
}

// Undo then apply the move just made, and step it back and forward as the
// recorder does: nothing of the hand may change.
void ExpectMoveReversible(GameState& s) {
  const GameState before = s;
  const int n = s.MoveNumber;
  AplicaJugada(s, kUndo, n);
  const MoveEntry& e = s.MoveRecord[n];
  if (e[kFEnd] != kPassEnd) {
    ASSERT_EQ(s.Hand[e[kFSeat]][BuscaHueco(s, e[kFPipA], e[kFPipB], e[kFSeat])].State, 0);
  }
  AplicaJugada(s, kApply, n);
  AdvanceTurn(s);
  s.LiveMoveNumber = s.MoveNumber;
  ASSERT_TRUE(RetrocedeJugada(s, nullptr));
  ASSERT_TRUE(AvanzaJugada(s, nullptr));
  TurnBack(s);
  s.LiveMoveNumber = before.LiveMoveNumber;
  ASSERT_TRUE(static_cast<const DealtHands&>(s) == before);
  ASSERT_TRUE(static_cast<const ChainEnds&>(s) == before);
  ASSERT_EQ(s.CurrentSeat, before.CurrentSeat);
}

TEST(WholeMatches, EveryMoveConsistentReversibleAndFinalUnderEveryMode) {
  int matches = 0;
  for (std::uint32_t seed = 1; seed <= 24; ++seed) {
    Table t(seed);
    t.port.Record = false;
    t.s.RuleMode = seed % 2 ? kModePairs : kModeIndividual;
    t.s.RuleScoring = seed % 4 < 2 ? kScoreTens : kScoreUnits;
    t.s.MatchTarget = t.s.RuleScoring == kScoreTens ? 4 : 40;
    t.s.RuleDirection = seed % 3 ? kDirect : kReverse;
    SyncDirectionStep(t.s);
    t.s.RuleNextLead = static_cast<i16>(seed % 4 + 1);
    t.s.RuleTieWinner = static_cast<i16>(seed % 3 + 1);
    Watch watch;
    watch.OnMove = [](GameState& s) {
      CheckOptions options;
      options.MovesInForce = s.MoveNumber;
      options.ReplayMarks = true;
      const auto violations = CheckState(s, options);
      ASSERT_TRUE(violations.empty()) << violations.front();
      ExpectMoveReversible(s);
      for (int seat = 1; seat <= kSeats; ++seat) {
        for (int slot = 1; slot <= kSlots; ++slot) {
          ASSERT_FALSE(s.Hand[seat][slot].State == 1 && EsJugable(s, seat, slot));
        }
      }
    };
    t.ctx.Hooks = &watch;
    RunMatch(t.ctx, LoopEntry::kNewMatch);
    ASSERT_FALSE(t.s.MatchInProgress);
    ASSERT_FALSE(t.ctx.Control.Running);
    EXPECT_TRUE(MatchReached(t.s));
    EXPECT_EQ(t.ctx.IllegalChoices, 0);
    ++matches;
  }
  EXPECT_EQ(matches, 24);
}

TEST(Turns, PausesStopBeforeEveryMoveAndManualSeatsBeforeTheirOwn) {
  for (bool pause : {true, false}) {
    Table t(4);
    AllAutomatic(t.s);
    t.s.RulePauseBetweenMoves = pause ? kOn : kOff;
    t.s.SeatControl[3] = kManual;
    t.s.SeatName[3] = " Pepe Luis ";
    long moves = 0;
    long movesOfThree = 0;
    Watch watch;
    watch.OnMove = [&](GameState& s) {
      ++moves;
      if (s.CurrentSeat == 3) ++movesOfThree;
    };
    t.ctx.Hooks = &watch;
    RunMatch(t.ctx, LoopEntry::kNewMatch);
    const long hands = static_cast<long>(t.EventsStarting("notice Continuar").size());
    const long notices = static_cast<long>(t.EventsStarting("notice").size()) - hands;
    EXPECT_EQ(notices, pause ? moves : movesOfThree);
    EXPECT_EQ(t.EventsStarting("notice Pepe Luis").size(), static_cast<size_t>(movesOfThree));
  }
}

// The manual seat 4 clicks a playable tile at every turn; the loop must lay
// exactly that tile, turned to meet the end the rules (or the arrows) give.
TEST(ManualSeat, TheClickedTileIsLaidOnTheRightEnd) {
  int asked = 0;
  int turned = 0;
  int clicks = 0;
  int endEvents = 0;
  for (std::uint32_t seed = 1; seed <= 30; ++seed) {
    Table t(seed);
    AllAutomatic(t.s);
    t.s.SeatControl[4] = kManual;
    t.s.RuleFirstLead = kFirstLeadDraw;
    struct Expect {
      int Slot = 0;
      int End = 0;
      bool Ask = false;
    } expect;
    t.port.OnEvent = [&](const std::string& e) {
      GameState& s = t.s;
      if (e != "notice Jugador4" || s.CurrentSeat != 4) return;
      // The last playable slot, so the computer's own choice rarely agrees.
      int slot = 0;
      for (int k = 1; k <= kSlots; ++k) {
        if (EsJugable(s, 4, k)) slot = k;
      }
      expect = Expect{};
      if (slot == 0) return;
      const HandSlot& tile = s.Hand[4][slot];
      const int e1 = s.EndPips[1];
      const int e2 = s.EndPips[2];
      expect.Slot = slot;
      if (s.MoveNumber == 1) {
        expect.End = 1;
      } else if (e1 == e2) {
        expect.End = s.EndCount[1] >= s.EndCount[2] ? 2 : 1;
        if (tile.PipA != e1) ++turned;
      } else {
        const bool both =
            (tile.PipA == e1 && tile.PipB == e2) || (tile.PipB == e1 && tile.PipA == e2);
        const bool same = PlayedWithPip(s, tile.PipA) >= 6 && PlayedWithPip(s, tile.PipB) >= 6;
        expect.Ask = both && !same && s.SeatTileCount[4] > 1;
        expect.End = expect.Ask ? 1 + clicks % 2 : (tile.PipA == e2 || tile.PipB == e2 ? 2 : 1);
        if (expect.Ask) t.port.Ends.push_back(expect.End);
      }
      t.port.Clicks.push_back(slot);
      ++clicks;
    };
    Watch watch;
    watch.OnMove = [&](GameState& s) {
      if (s.CurrentSeat != 4 || expect.Slot == 0) return;
      const MoveEntry& e = s.MoveRecord[s.MoveNumber];
      const HandSlot& tile = s.Hand[4][expect.Slot];
      EXPECT_EQ(tile.State, 1);
      EXPECT_EQ(BuscaHueco(s, e[kFPipA], e[kFPipB], 4), expect.Slot);
      EXPECT_EQ(e[kFEnd], expect.End);
      EXPECT_EQ(e[kFEvaluated], 0) << "the user's move is not the computer's";
      if (s.MoveNumber > 1) {
        EXPECT_EQ(e[kFPipA], e[kFEnd] == 1 ? e[kFEnd1PipsBefore] : e[kFEnd2PipsBefore]);
      }
      if (expect.Ask) ++asked;
      expect = Expect{};
    };
    t.ctx.Hooks = &watch;
    RunMatch(t.ctx, LoopEntry::kNewMatch);
    endEvents += static_cast<int>(t.EventsStarting("end ").size());
    EXPECT_TRUE(t.EventsStarting("pause 4").empty()) << "no thinking over the user's own move";
    EXPECT_FALSE(t.EventsStarting("pause ").empty());
    EXPECT_EQ(t.ctx.IllegalChoices, 0);
  }
  EXPECT_EQ(endEvents, asked) << "the arrows only when the tile fits both ends";
  EXPECT_GT(asked, 0) << "some tile fitted both ends";
  EXPECT_GT(turned, 0) << "some tile was turned to meet equal ends";
}

TEST(ManualSeat, AForcedDoubleSixLeadIgnoresAnyOtherTile) {
  Table t(5);
  for (int seat = 1; seat <= kSeats; ++seat) t.s.SeatControl[seat] = kManual;
  t.port.OnEvent = [&](const std::string& e) {
    if (e.rfind("notice Jugador", 0) != 0 || t.s.MoveNumber != 1 || t.s.HandNumber != 1) return;
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& tile = t.s.Hand[t.s.CurrentSeat][slot];
      if (tile.PipA != 6 || tile.PipB != 6) {
        EXPECT_FALSE(EsJugable(t.s, t.s.CurrentSeat, slot));
        t.port.Clicks.push_back(slot);
        return;
      }
    }
  };
  Watch watch;
  bool checked = false;
  watch.OnMove = [&](GameState& s) {
    if (s.HandNumber != 1 || s.MoveNumber != 1) return;
    EXPECT_EQ(s.MoveRecord[1][kFPipA], 6);
    EXPECT_EQ(s.MoveRecord[1][kFPipB], 6);
    checked = true;
  };
  t.ctx.Hooks = &watch;
  RunMatch(t.ctx, LoopEntry::kNewMatch);
  EXPECT_TRUE(checked);
}

// The user answers no at the end message and steps the last move forward
// again on the recorder: the hand ends again without a new move.
TEST(StepBack, NoAtTheEndGivesTheLastMoveBackAndSteppingItForwardEndsTheHand) {
  Table t(6);
  AllAutomatic(t.s);
  t.port.Answers = {false};
  struct Last {
    int Seat = 0, Move = 0, Slot = 0;
  } last, atEnd;
  size_t linesAtEnd = 0;
  bool reopened = false;
  int scored = 0;
  Watch watch;
  watch.OnMove = [&](GameState& s) {
    const MoveEntry& e = s.MoveRecord[s.MoveNumber];
    last = {s.CurrentSeat, s.MoveNumber, BuscaHueco(s, e[kFPipA], e[kFPipB], s.CurrentSeat)};
  };
  watch.OnScore = [&](const GameState& s, const HandSummary&) {
    if (scored++ > 0) return;
    EXPECT_EQ(t.EventsStarting("line ").size(), linesAtEnd);
    EXPECT_TRUE(CheckState(s, {s.MoveNumber, false}).empty());
  };
  t.ctx.Hooks = &watch;
  t.port.OnEvent = [&](const std::string& e) {
    if (atEnd.Move == 0 && (e == "message C i e r r e" || e == "message Final de este juego")) {
      atEnd = last;
      linesAtEnd = t.EventsStarting("line ").size();
    } else if (atEnd.Move != 0 && !reopened && e.rfind("notice ", 0) == 0) {
      reopened = true;
      EXPECT_TRUE(t.ctx.HandReopened);
      EXPECT_TRUE(t.s.HandInProgress);
      EXPECT_EQ(t.s.CurrentSeat, atEnd.Seat);
      EXPECT_EQ(t.s.MoveNumber, atEnd.Move);
      EXPECT_EQ(t.s.Hand[atEnd.Seat][atEnd.Slot].State, 0) << "the tile is back in the hand";
      EXPECT_TRUE(CheckState(t.s).empty());
      t.s.LiveMoveNumber = static_cast<i16>(t.s.MoveNumber + 1);
      ASSERT_TRUE(AvanzaJugada(t.s, nullptr));
    }
  };
  RunMatch(t.ctx, LoopEntry::kNewMatch);
  ASSERT_TRUE(reopened);
  EXPECT_GT(scored, 0);
  EXPECT_FALSE(t.s.MatchInProgress) << "the match still plays to its end";
  EXPECT_EQ(t.EventsStarting("taken back " + std::to_string(atEnd.Move)).size(), 1u);
  EXPECT_EQ(t.EventsStarting("wait 70").size(), 1u);
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

// Left in the second hand and resumed from the state as a file gives it back:
// no totals, which must be rebuilt from the log or the match runs longer.
TEST(Unwind, LeavingDuringAWaitAndResumingPlaysTheSameMatch) {
  Table reference(8);
  RunMatch(reference.ctx, LoopEntry::kNewMatch);

  Table t(8);
  t.port.OnEvent = [&](const std::string& e) {
    if (e.rfind("notice ", 0) == 0 && t.s.HandNumber == 2 && t.s.MoveNumber == 7) {
      t.ctx.Control.ExitRequested = true;
    }
  };
  RunMatch(t.ctx, LoopEntry::kNewMatch);
  EXPECT_FALSE(t.ctx.Control.Running);
  ASSERT_TRUE(t.s.HandInProgress);
  ASSERT_EQ(t.s.MoveNumber, 7);
  ASSERT_GT(t.s.PairTotal[1] + t.s.PairTotal[2], 0);
  EXPECT_TRUE(CheckState(t.s).empty()) << "the state as it would be saved";
  t.s.PairTotal = {};
  t.s.SeatTotal = {};
  t.port.OnEvent = nullptr;
  t.ctx.Control.ExitRequested = false;
  RunMatch(t.ctx, LoopEntry::kResumeHand);
  EXPECT_FALSE(t.s.MatchInProgress);
  EXPECT_EQ(LinesAndMessages(t.port.Events), LinesAndMessages(reference.port.Events));
}

// The user answers no at the end of the first hand, goes back into it, steps
// the last move forward again and leaves: the last move in force ended the
// hand, so the resumed hand ends where it stood, with the same announcement
// and no move played.
TEST(Unwind, AResumedHandWhoseLastMoveEndedItEndsAtOnce) {
  for (std::uint32_t seed : {3u, 8u, 21u}) {
    Table t(seed);
    std::string announced;
    t.port.Answers = {false};
    t.port.OnEvent = [&](const std::string& e) {
      if (announced.empty() && (e == "message Final de este juego" || e == "message C i e r r e")) {
        announced = e;
      } else if (!announced.empty() && e.rfind("notice ", 0) == 0) {
        t.ctx.Control.ExitRequested = true;
      }
    };
    RunMatch(t.ctx, LoopEntry::kNewMatch);
    ASSERT_FALSE(announced.empty()) << seed;
    ASSERT_TRUE(t.s.HandInProgress) << seed;
    ASSERT_EQ(t.s.HandNumber, 1);
    ASSERT_TRUE(t.s.HandLog[1].Text.empty()) << "nothing logged before the answer";
    // Going back into the hand takes its last move back; the recorder steps
    // it forward again, and the user leaves there.
    t.s.LiveMoveNumber = static_cast<i16>(t.s.MoveNumber + 1);
    ASSERT_TRUE(AvanzaJugada(t.s, nullptr));
    t.port.OnEvent = nullptr;
    t.port.Events.clear();
    t.ctx.Control.ExitRequested = false;
    t.ctx.HandReopened = false;  // not carried by the file
    RunMatch(t.ctx, LoopEntry::kResumeHand);
    const auto kept = LinesAndMessages(t.port.Events);
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept.front(), announced) << seed << ": no move before the hand's end";
    EXPECT_FALSE(t.s.HandLog[1].Text.empty()) << seed << ": the hand was scored";
  }
}

// Left at the "Continuar" notice after a hand and started again from the
// file: the finished hand is in the log, the totals come back, and the match
// goes on with the next deal (or ends, after its last hand) exactly as if it
// had never been left.
TEST(Unwind, LeavingBetweenHandsKeepsTheMatchThroughTheFile) {
  constexpr i16 kTarget = 12;  // a match of several hands
  Table reference(8);
  reference.s.MatchTarget = kTarget;
  RunMatch(reference.ctx, LoopEntry::kNewMatch);
  const int lastHand = reference.s.HandNumber;
  ASSERT_GT(lastHand, 2);
  for (int hand : {1, 2, lastHand}) {
    SCOPED_TRACE(hand);
    Table t(8);
    t.s.MatchTarget = kTarget;
    t.port.OnEvent = [&](const std::string& e) {
      if (e == "notice Continuar" && t.s.HandNumber == hand) t.ctx.Control.ExitRequested = true;
    };
    RunMatch(t.ctx, LoopEntry::kNewMatch);
    ASSERT_TRUE(t.s.MatchInProgress);
    ASSERT_FALSE(t.s.HandInProgress);
    const GameState left = t.s;
    const std::string text = StateFileText(t.s);
    t.s.HandLog = {};
    t.s.PairTotal = {};
    t.s.SeatTotal = {};
    std::istringstream in(text);
    ASSERT_EQ(ReadState(t.s, in).ErrorNumber, 0);
    ASSERT_TRUE(t.s.MatchInProgress);
    EXPECT_EQ(t.s.HandNumber, left.HandNumber);
    for (int h = 1; h <= hand; ++h) {
      EXPECT_EQ(t.s.HandLog[h].Text, left.HandLog[h].Text) << "hand " << h;
      EXPECT_EQ(t.s.HandLog[h].PairTens, left.HandLog[h].PairTens) << "hand " << h;
    }
    t.port.OnEvent = nullptr;
    t.ctx.Control.ExitRequested = false;
    RunMatch(t.ctx, LoopEntry::kResumeHand);
    EXPECT_FALSE(t.s.MatchInProgress) << "played to its end";
    EXPECT_EQ(LinesAndMessages(t.port.Events), LinesAndMessages(reference.port.Events));
  }
}

TEST(Unwind, AGameLoadedDuringAWaitIsPlayedFromWhereItStands) {
  Table t(4);
  GameState saved;
  std::string lineOfThree;
  std::vector<std::string> linesAfterLoad;
  bool loaded = false;
  t.port.OnEvent = [&](const std::string& e) {
    if (e.rfind("notice ", 0) == 0 && t.s.HandNumber == 1 && !loaded) {
      if (t.s.MoveNumber == 3) saved = t.s;
      if (t.s.MoveNumber == 9) {
        t.s = saved;
        loaded = true;
        RunMatch(t.ctx, LoopEntry::kResumeHand);
      }
    }
    if (e.rfind("line ", 0) == 0) {
      if (!loaded && e.rfind("line  3 ", 0) == 0) lineOfThree = e;
      if (loaded) linesAfterLoad.push_back(e);
    }
  };
  RunMatch(t.ctx, LoopEntry::kNewMatch);
  ASSERT_TRUE(loaded);
  ASSERT_FALSE(linesAfterLoad.empty());
  EXPECT_EQ(linesAfterLoad.front(), lineOfThree);
  EXPECT_FALSE(t.s.MatchInProgress);
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
