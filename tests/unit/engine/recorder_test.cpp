#include "engine/recorder.h"

#include <gtest/gtest.h>

#include "engine/hand_messages.h"
#include "engine/headless_play.h"
#include "engine/headless_port.h"
#include "model/consistency.h"
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

// What the recorder must give back exactly.
struct Position {
  PerSeat<std::array<HandSlot, kSlots + 1>> Hand;
  PerSeat<i16> Counts;
  PerSeat<PerPip<i16>> Marks;
  PerEnd<i16> Pips, EndCount, Heading, Col, Row;
  i16 Seat, Move;
  std::vector<std::string> Lines;

  explicit Position(const GameState& s)
      : Hand(s.Hand),
        Counts(s.SeatTileCount),
        Marks(s.SeatPipMark),
        Pips(s.EndPips),
        EndCount(s.EndCount),
        Heading(s.EndHeading),
        Col(s.EndCol),
        Row(s.EndRow),
        Seat(s.CurrentSeat),
        Move(s.MoveNumber),
        Lines(MoveListLines(s)) {}
};

void ExpectSame(const Position& a, const Position& b) {
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      EXPECT_EQ(a.Hand[seat][slot].State, b.Hand[seat][slot].State) << seat << "/" << slot;
    }
  }
  EXPECT_EQ(a.Counts, b.Counts);
  EXPECT_EQ(a.Marks, b.Marks);
  EXPECT_EQ(a.Pips, b.Pips);
  EXPECT_EQ(a.EndCount, b.EndCount);
  EXPECT_EQ(a.Heading, b.Heading);
  EXPECT_EQ(a.Col, b.Col);
  EXPECT_EQ(a.Row, b.Row);
  EXPECT_EQ(a.Seat, b.Seat);
  EXPECT_EQ(a.Move, b.Move);
  EXPECT_EQ(a.Lines, b.Lines);
}

int Count(const std::vector<std::string>& events, const std::string& e) {
  return static_cast<int>(std::count(events.begin(), events.end(), e));
}

// Back to the lead and forward again, in both modes and both directions: the
// hands, counts, ends, marks, cursors and the list come back exactly, and at
// the lead nothing is in force.
TEST(Recorder, BackToTheLeadAndForwardRestoresThePosition) {
  struct Case {
    i16 mode, direction;
    std::uint32_t seed;
    int moves;
  };
  for (const Case c : {Case{kModePairs, kDirect, 3, 14}, Case{kModeIndividual, kReverse, 8, 11},
                       Case{kModePairs, kReverse, 21, 9}, Case{kModeIndividual, kDirect, 5, 16}}) {
    GameState s = Waiting(c.moves, c.seed, c.mode, c.direction);
    if (!s.HandInProgress) continue;  // the hand ended before; another case covers it
    SCOPED_TRACE("seed " + std::to_string(c.seed));
    const Position live(s);
    HeadlessPort port;
    port.Record = true;
    TableModes modes;
    Recorder recorder(s, port, modes);
    ASSERT_TRUE(recorder.Press(RecorderControl::kSwitch, true));
    EXPECT_TRUE(s.RecorderOn);
    EXPECT_EQ(s.LiveMoveNumber, live.Move);
    EXPECT_EQ(NoticeLabel(s), "Continuar");

    ASSERT_TRUE(recorder.Press(RecorderControl::kRunBack, true));
    EXPECT_EQ(s.MoveNumber, 1);
    const auto lastSelect = std::find_if(port.Events.rbegin(), port.Events.rend(),
                                         [](auto& e) { return e.rfind("select ", 0) == 0; });
    ASSERT_NE(lastSelect, port.Events.rend());
    EXPECT_EQ(*lastSelect, "select -1") << "no move in force at the lead";
    for (int seat = 1; seat <= kSeats; ++seat) EXPECT_EQ(s.SeatTileCount[seat], kSlots);
    EXPECT_EQ(s.EndCount[1] + s.EndCount[2], 0);
    EXPECT_TRUE(CheckState(s).empty()) << CheckState(s).front();
    EXPECT_EQ(MoveListLines(s), live.Lines) << "stepped-back moves stay listed";
    EXPECT_EQ(NoticeLabel(s), Trimmed(s.SeatName[s.LeadSeat]));
    EXPECT_TRUE(RecorderHoldsPlay(s));

    ASSERT_TRUE(recorder.Press(RecorderControl::kRunForward, true));
    ExpectSame(Position(s), live);
    EXPECT_EQ(Count(port.Events, "sound 6"), 3);
    EXPECT_EQ(Count(port.Events, "sound 7"), 3);
    EXPECT_EQ(Count(port.Events, "wait 27"), 2 * (live.Move - 1));
    EXPECT_FALSE(RecorderHoldsPlay(s));
  }
}

// Switching off replays exactly the moves stepped back, a pause after each,
// and the position is the live one again.
TEST(Recorder, SwitchingOffReplaysToTheLiveMove) {
  GameState s = Waiting(12, 4);
  ASSERT_TRUE(s.HandInProgress);
  const Position live(s);
  HeadlessPort port;
  port.Record = true;
  TableModes modes;
  Recorder recorder(s, port, modes);
  recorder.Press(RecorderControl::kSwitch, true);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(recorder.Press(RecorderControl::kBack, true));
  EXPECT_EQ(s.MoveNumber, live.Move - 3);
  port.Events.clear();
  ASSERT_TRUE(recorder.Press(RecorderControl::kSwitch, true));
  EXPECT_FALSE(s.RecorderOn);
  EXPECT_FALSE(s.RecorderBusy);
  EXPECT_EQ(Count(port.Events, "wait 70"), 3);
  EXPECT_EQ(port.Events.front(), "sound 6");
  EXPECT_EQ(port.Events.back(), "sound 7");
  ExpectSame(Position(s), live);
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
                          Refusal{"hand over", [](GameState& g) { g.HandInProgress = false; }}}) {
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

// A second press on a run stops it where it is.
TEST(Recorder, ASecondPressStopsARun) {
  GameState s = Waiting(14, 3);
  ASSERT_TRUE(s.HandInProgress);
  HeadlessPort port;
  TableModes modes;
  Recorder recorder(s, port, modes);
  int yields = 0;
  port.OnEvent = [&](const std::string& e) {
    if (e == "yield" && ++yields == 2) recorder.Press(RecorderControl::kRunForward, true);
  };
  recorder.Press(RecorderControl::kSwitch, true);
  recorder.Press(RecorderControl::kRunBack, true);
  EXPECT_EQ(s.MoveNumber, 15 - 2);
  EXPECT_FALSE(recorder.Running());
  EXPECT_EQ(recorder.Pressed(), RecorderControl::kNone);
}

// Playing on from move k keeps moves 1..k-1 and drops exactly the later ones;
// the turn loop then carries on from there to a hand that holds together.
TEST(Recorder, PlayOnFromAMoveDropsTheLaterOnesAndPlayGoesOn) {
  for (const int k : {2, 3, 6}) {
    testing::Table t(9);
    t.s.RuleFirstLead = kFirstLeadDraw;
    t.s.SeatControl[4] = kAutomatic;
    bool done = false;
    struct Checks : EngineHooks {
      int moves = 0;
      void MoveMade(GameState& g) override {
        ++moves;
        EXPECT_TRUE(CheckState(g, {g.MoveNumber, false}).empty()) << "move " << g.MoveNumber;
      }
    } checks;
    t.ctx.Hooks = &checks;
    t.port.OnEvent = [&](const std::string& e) {
      if (done || e.rfind("notice ", 0) != 0 || t.s.MoveNumber != 9 || t.s.HandNumber != 1) return;
      done = true;
      const std::vector<MoveEntry> before = t.s.MoveRecord;
      TableModes modes;
      Recorder recorder(t.s, t.port, modes);
      ASSERT_TRUE(recorder.Press(RecorderControl::kSwitch, true));
      while (t.s.MoveNumber > k) ASSERT_TRUE(recorder.Press(RecorderControl::kBack, true));
      ASSERT_TRUE(recorder.Press(RecorderControl::kPlayOn, true));
      EXPECT_FALSE(t.s.RecorderOn);
      EXPECT_EQ(t.s.LiveMoveNumber, k);
      EXPECT_EQ(MoveListLines(t.s).size(), static_cast<size_t>(k - 1));
      for (int n = 1; n < k; ++n) EXPECT_EQ(t.s.MoveRecord[n], before[n]) << n;
      for (int n = k; n <= 9; ++n) EXPECT_EQ(t.s.MoveRecord[n], MoveEntry{}) << n;
      EXPECT_FALSE(t.s.NoticeShown) << "an automatic seat goes on at once";
    };
    t.s.RulePauseBetweenMoves = kOn;  // every move waits, so the table can be caught
    RunMatch(t.ctx, LoopEntry::kNewMatch);
    ASSERT_TRUE(done);
    EXPECT_GT(checks.moves, 9);
  }
}

// A manual seat keeps the continue button after playing on: the user plays.
TEST(Recorder, PlayOnLeavesAManualSeatWaiting) {
  GameState s = Waiting(10, 6);
  ASSERT_TRUE(s.HandInProgress);
  HeadlessPort port;
  TableModes modes;
  Recorder recorder(s, port, modes);
  recorder.Press(RecorderControl::kSwitch, true);
  recorder.Press(RecorderControl::kBack, true);
  s.SeatControl[s.CurrentSeat] = kManual;
  recorder.Press(RecorderControl::kPlayOn, true);
  EXPECT_TRUE(s.NoticeShown);
  EXPECT_EQ(s.LiveMoveNumber, 10);
  EXPECT_EQ(NoticeLabel(s), Trimmed(s.SeatName[s.CurrentSeat]));
}

// The list's lines follow the record up to the move in force, or up to the
// live move while the recorder is on, and a new deal starts it empty.
TEST(MoveList, LinesFollowTheRecord) {
  GameState s = Waiting(5, 2);
  const std::vector<std::string> lines = MoveListLines(s);
  ASSERT_EQ(lines.size(), 5u);
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(lines[n - 1], RecorderLine(s, n));
  EXPECT_EQ(lines[0].substr(0, 2), " 1");
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
