#include "engine/recorder.h"

#include <gtest/gtest.h>

#include "engine/hand_messages.h"
#include "engine/headless_play.h"
#include "engine/headless_port.h"
#include "model/move_record.h"
#include "support/engine_fixture.h"

namespace tarvelis {
namespace {

// A hand played by the engine to `moves` moves, waiting at the continue
// button for the next one, as the table finds it when the user reaches for
// the recorder.
GameState Waiting(int moves, std::uint32_t seed, i16 mode = kModePairs, i16 direction = kDirect) {
  GameState s;
  ApplyDefaults(s);
  s.RuleMode = mode;
  s.RuleDirection = direction;
  s.RuleFirstLead = kFirstLeadDraw;
  SyncDirectionStep(s);
  PlayHeadlessTo(s, moves, seed);
  s.NoticeShown = true;
  return s;
}

// Back to the lead: nothing is in force, every move stays listed and the
// continue button names the leader. Switching off then replays the moves
// stepped back at once, with no pause and no travel, and gives back all the
// file carries (hands, marks, ends, cursors, turn, record) and the list.
TEST(Recorder, BackToTheLeadAndSwitchingOffRestoresThePosition) {
  GameState s = Waiting(12, 4, kModeIndividual, kReverse);
  ASSERT_TRUE(s.HandInProgress);
  const GameState live = s;
  HeadlessPort port;
  port.Record = true;
  TableModes modes;
  Recorder recorder(s, port, modes);
  ASSERT_TRUE(recorder.Press(RecorderControl::kSwitch, true));
  EXPECT_EQ(NoticeLabel(s), "Continuar");
  ASSERT_TRUE(recorder.Press(RecorderControl::kRunBack, true));
  EXPECT_EQ(s.MoveNumber, 1);
  for (int seat = 1; seat <= kSeats; ++seat) EXPECT_EQ(s.SeatTileCount[seat], kSlots);
  EXPECT_EQ(s.EndCount[1] + s.EndCount[2], 0);
  EXPECT_EQ(MoveListLines(s), MoveListLines(live)) << "stepped-back moves stay listed";
  EXPECT_EQ(NoticeLabel(s), Trimmed(s.SeatName[s.LeadSeat]));
  EXPECT_TRUE(RecorderHoldsPlay(s));
  port.Events.clear();
  ASSERT_TRUE(recorder.Press(RecorderControl::kSwitch, true));
  EXPECT_FALSE(s.RecorderOn || s.RecorderBusy || RecorderHoldsPlay(s));
  EXPECT_EQ(std::count(port.Events.begin(), port.Events.end(), "wait 70"), 0);
  EXPECT_EQ(FirstCarriedDifference(s, live), "");
  EXPECT_EQ(MoveListLines(s), MoveListLines(live));
}

// The controls refuse what would leave the hand: no step before the lead or
// past the live move, nothing while the recorder is off, nothing but the left
// button, and the switch only where play waits after the first move.
TEST(Recorder, ControlsRefuseWhatTheyCannotDo) {
  GameState s = Waiting(6, 2);
  HeadlessPort port;
  TableModes modes;
  Recorder recorder(s, port, modes);
  EXPECT_FALSE(recorder.Press(RecorderControl::kBack, true)) << "recorder off";
  EXPECT_EQ(s.MoveNumber, 7);

  struct Refusal {
    const char* why;
    void (*spoil)(GameState&);
  };
  for (const Refusal r : {Refusal{"no notice", [](GameState& g) { g.NoticeShown = false; }},
                          Refusal{"lead due", [](GameState& g) { g.MoveNumber = 1; }},
                          Refusal{"match over", [](GameState& g) { g.MatchInProgress = false; }}}) {
    GameState spoilt = s;
    r.spoil(spoilt);
    EXPECT_FALSE(CanSwitchRecorderOn(spoilt, modes)) << r.why;
  }
  TableModes arrows;
  arrows.WaitingForEnd = true;
  EXPECT_FALSE(CanSwitchRecorderOn(s, arrows)) << "arrows up";
  ASSERT_TRUE(recorder.Press(RecorderControl::kSwitch, true));
  EXPECT_FALSE(recorder.Press(RecorderControl::kForward, true)) << "already live";
  EXPECT_FALSE(recorder.Press(RecorderControl::kBack, false)) << "right button";
  EXPECT_EQ(s.MoveNumber, 7);
  recorder.Press(RecorderControl::kRunBack, true);
  EXPECT_FALSE(recorder.Press(RecorderControl::kBack, true)) << "at the lead";
  EXPECT_EQ(s.MoveNumber, 1);
}

// Any press on the panel during a run stops it where it stands, and does
// nothing else: a step forward is not made, the switch stays on.
TEST(Recorder, AnyPressStopsARunWhereItStands) {
  for (const RecorderControl press : {RecorderControl::kRunForward, RecorderControl::kForward,
                                      RecorderControl::kBack, RecorderControl::kSwitch}) {
    SCOPED_TRACE(static_cast<int>(press));
    GameState s = Waiting(14, 3);
    ASSERT_TRUE(s.HandInProgress);
    HeadlessPort port;
    TableModes modes;
    Recorder recorder(s, port, modes);
    int yields = 0;
    // The press and a second one that arrives with it, in the same yield.
    port.OnEvent = [&](const std::string& e) {
      if (e != "yield" || ++yields != 2) return;
      EXPECT_TRUE(recorder.Press(press, true));
      EXPECT_TRUE(recorder.Press(RecorderControl::kForward, true));
    };
    recorder.Press(RecorderControl::kSwitch, true);
    recorder.Press(RecorderControl::kRunBack, true);
    EXPECT_EQ(s.MoveNumber, 15 - 2);
    EXPECT_TRUE(s.RecorderOn);
    EXPECT_FALSE(recorder.Running());
    EXPECT_EQ(recorder.Pressed(), RecorderControl::kNone);
  }
}

// Playing on from move 3 keeps moves 1 and 2 and drops exactly the later
// ones; an automatic seat then goes on at once, a manual one keeps the
// continue button, and the turn loop carries on from there.
TEST(Recorder, PlayOnFromAMoveDropsTheLaterOnes) {
  for (const i16 control : {kAutomatic, kManual}) {
    testing::Table t(9);
    t.s.RuleFirstLead = kFirstLeadDraw;
    t.s.RulePauseBetweenMoves = kOn;  // every move waits, so the table can be caught
    bool done = false;
    t.port.OnEvent = [&](const std::string& e) {
      if (done || e.rfind("notice ", 0) != 0 || t.s.MoveNumber != 9 || t.s.HandNumber != 1) return;
      done = true;
      const std::vector<MoveEntry> before = t.s.MoveRecord;
      TableModes modes;
      Recorder recorder(t.s, t.port, modes);
      ASSERT_TRUE(recorder.Press(RecorderControl::kSwitch, true));
      while (t.s.MoveNumber > 3) ASSERT_TRUE(recorder.Press(RecorderControl::kBack, true));
      t.s.SeatControl[t.s.CurrentSeat] = control;
      ASSERT_TRUE(recorder.Press(RecorderControl::kPlayOn, true));
      EXPECT_FALSE(t.s.RecorderOn);
      EXPECT_EQ(t.s.LiveMoveNumber, 3);
      EXPECT_EQ(MoveListLines(t.s).size(), 2u);
      for (int n = 1; n <= 9; ++n) EXPECT_EQ(t.s.MoveRecord[n], n < 3 ? before[n] : MoveEntry{});
      EXPECT_EQ(t.s.NoticeShown, control == kManual);
    };
    RunMatch(t.ctx, LoopEntry::kNewMatch);
    ASSERT_TRUE(done);
    EXPECT_FALSE(t.s.MatchInProgress);
  }
}

// A finished hand, its table waiting at "Continuar" for the next deal, is
// stepped through like one in play but never played on: it is scored.
// Switching off brings back the hand's end exactly, and the match goes on.
TEST(Recorder, AFinishedHandIsSteppedThroughButNotPlayedOn) {
  testing::Table t(5);
  bool done = false;
  t.port.OnEvent = [&](const std::string& e) {
    if (done || e != "notice Continuar" || t.s.HandInProgress) return;
    done = true;
    const GameState end = t.s;
    TableModes modes;
    Recorder recorder(t.s, t.port, modes);
    ASSERT_TRUE(recorder.Press(RecorderControl::kSwitch, true));
    ASSERT_TRUE(recorder.Press(RecorderControl::kBack, true));
    ASSERT_TRUE(recorder.Press(RecorderControl::kBack, true));
    EXPECT_EQ(t.s.MoveNumber, end.MoveNumber - 1) << "the last move and the one before";
    EXPECT_EQ(NoticeLabel(t.s), "Continuar");
    EXPECT_FALSE(recorder.Press(RecorderControl::kPlayOn, true));
    EXPECT_FALSE(PlayOnFromHere(t.s, t.port));
    EXPECT_EQ(MoveListLines(t.s), MoveListLines(end));
    ASSERT_TRUE(recorder.Press(RecorderControl::kSwitch, true));
    EXPECT_EQ(FirstCarriedDifference(t.s, end), "");
  };
  RunMatch(t.ctx, LoopEntry::kNewMatch);
  ASSERT_TRUE(done);
  EXPECT_FALSE(t.s.MatchInProgress) << "the match went on to its end";
}

// The list's lines follow the record up to the move in force, or up to the
// live move while the recorder is on, and a new deal starts it empty.
TEST(MoveList, LinesFollowTheRecord) {
  GameState s = Waiting(5, 2);
  ASSERT_EQ(MoveListLines(s).size(), 5u);
  // The move being made is listed as soon as it is written, before the turn
  // moves on; the moves after it are not.
  s.MoveNumber = 3;
  EXPECT_EQ(MoveListLines(s).size(), 3u);
  s.RecorderOn = true;
  s.LiveMoveNumber = 6;
  EXPECT_EQ(MoveListLines(s).size(), 5u);
  ResetRecorder(s);
  EXPECT_FALSE(s.RecorderOn);
  EXPECT_EQ(s.LiveMoveNumber, s.MoveNumber);
  s.MoveRecord.assign(41, MoveEntry{});
  s.MoveNumber = 0;
  EXPECT_TRUE(MoveListLines(s).empty());
}

}  // namespace
}  // namespace tarvelis
