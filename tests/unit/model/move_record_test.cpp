#include "model/move_record.h"

#include <gtest/gtest.h>

#include "engine/headless_play.h"
#include "engine/headless_port.h"
#include "support/engine_fixture.h"

namespace tarvelis {
namespace {

using testing::Table;

MoveEntry Entry(int seat, int a, int b, int end, int e1 = 0, int e2 = 0) {
  MoveEntry e{};
  e[kFSeat] = static_cast<i16>(seat);
  e[kFPipA] = static_cast<i16>(a);
  e[kFPipB] = static_cast<i16>(b);
  e[kFEnd] = static_cast<i16>(end);
  e[kFIsDouble] = a == b && end != kPassEnd;
  e[kFEnd1PipsBefore] = static_cast<i16>(e1);
  e[kFEnd2PipsBefore] = static_cast<i16>(e2);
  return e;
}

TEST(RecorderLine, NumberNameAndTileInTheirColumns) {
  GameState s;
  ApplyDefaults(s);
  s.MoveRecord[4] = Entry(3, kNoPip, kNoPip, kPassEnd);
  EXPECT_EQ(RecorderLine(s, 4), " 4 Jugador3  Pasa");
  s.MoveRecord[12] = Entry(1, 5, 3, 2);
  s.MoveRecord[12][kFEvaluated] = 1;
  EXPECT_EQ(RecorderLine(s, 12), "12 Jugador1  5-3 ???");
  s.SeatName[1] = " Íñigo";  // five letters, seven bytes
  EXPECT_EQ(RecorderLine(s, 12), "12 Íñigo     5-3 ???");
  s.SeatName[1] = "Ángel María";
  s.SeatName[3] = "Ángel Mario";
  EXPECT_EQ(RecorderLine(s, 12), "12 Ángel M…a 5-3 ???");
}

TEST(GrabaJugada, APassLeavesTheLayoutFieldsZeroWhateverWasThere) {
  Table t;
  t.s.MoveNumber = 5;
  t.s.CurrentSeat = 2;
  t.s.EndPips = {0, 3, 6};
  t.s.PlayEnd = kPassEnd;
  t.s.PlayPipA = t.s.PlayPipB = kNoPip;
  t.s.PlayIsDouble = true;
  t.s.MoveRecord[5].fill(77);  // a move taken back earlier
  ASSERT_TRUE(GrabaJugada(t.s, MoveEntry{}, &t.port));
  MoveEntry expected = Entry(2, kNoPip, kNoPip, kPassEnd, 3, 6);
  EXPECT_EQ(t.s.MoveRecord[5], expected);
  EXPECT_EQ(t.port.Events.back(), "line  5 Jugador2  Pasa");
}

TEST(RecordCapacity, AnEntryBeyondTheRecordIsNeverWritten) {
  GameState s;
  s.MoveNumber = 41;
  s.CurrentSeat = 1;
  EXPECT_FALSE(GrabaJugada(s, MoveEntry{}, nullptr));
  EXPECT_EQ(s.MoveRecord.size(), 41u);
  s.MoveRecord[2] = Entry(0, 3, 3, 1);  // no seat
  const GameState before = s;
  AplicaJugada(s, kApply, 2);
  AplicaJugada(s, kApply, 99);
  EXPECT_EQ(s.SeatPipMark, before.SeatPipMark);
  EXPECT_EQ(s.EndCount, before.EndCount);
}

// Run back from the move awaited after ten: with only the lead in force the
// first line is selected; taking the lead back too leaves no move in force and
// no line selected. Forward again ends on the last line played.
TEST(Stepping, TheSelectionFollowsTheLastMoveInForceDownToNone) {
  GameState s;
  ApplyDefaults(s);
  PlayHeadlessTo(s, 10, 5);
  ASSERT_EQ(s.MoveNumber, 11);
  s.LiveMoveNumber = s.MoveNumber;
  HeadlessPort port(&s);
  port.Record = true;
  auto lastSelection = [&] {
    for (auto e = port.Events.rbegin(); e != port.Events.rend(); ++e) {
      if (e->rfind("select ", 0) == 0) return *e;
    }
    return std::string();
  };
  for (int back = 1; back <= 9; ++back) ASSERT_TRUE(RetrocedeJugada(s, &port));
  EXPECT_EQ(s.MoveNumber, 2);
  EXPECT_EQ(lastSelection(), "select 0") << "the lead alone in force";
  ASSERT_TRUE(RetrocedeJugada(s, &port));
  EXPECT_EQ(lastSelection(), "select -1") << "back at the lead";
  EXPECT_FALSE(RetrocedeJugada(s, &port));
  int forward = 0;
  while (AvanzaJugada(s, &port)) ++forward;
  EXPECT_EQ(forward, 10);
  EXPECT_EQ(lastSelection(), "select 9");
}

// Hands for the mark cases: seat 4 holds 3-3 and 6-6, seat 1 holds 5-3, seat
// 2 holds 3-1 and 4-4, seat 3 holds 6-2.
GameState MarkTable() {
  GameState s;
  ApplyDefaults(s);
  s.HandNumber = 2;
  s.Hand[4][1] = {3, 3, 0};
  s.Hand[4][2] = {6, 6, 0};
  s.Hand[1][1] = {5, 3, 0};
  s.Hand[2][1] = {3, 1, 0};
  s.Hand[2][2] = {4, 4, 0};
  s.Hand[3][1] = {6, 2, 0};
  for (int seat = 1; seat <= kSeats; ++seat) s.SeatTileCount[seat] = 7;
  return s;
}

TEST(Marks, TheLeadAddsThreeToEachSuitUnlessTheDoubleSixWasForced) {
  GameState s = MarkTable();
  s.MoveRecord[1] = Entry(3, 6, 2, 1, kNoPip, 6);
  AplicaJugada(s, kApply, 1);
  EXPECT_EQ(s.SeatPipMark[3][6], 3);
  EXPECT_EQ(s.SeatPipMark[3][2], 3);
  EXPECT_EQ(s.SeatTileCount[3], 6);
  AplicaJugada(s, kUndo, 1);
  EXPECT_EQ(s.EndPips[1], 6) << "end 1 takes the lead's pip A back";
  EXPECT_EQ(s.EndPips[2], kNoPip) << "end 2 is the loop's, never the record's";
  // The first hand under "Sale el Seis Doble": nothing learnt.
  GameState first = MarkTable();
  first.HandNumber = 1;
  first.MoveRecord[1] = Entry(4, 6, 6, 1, kNoPip, 6);
  AplicaJugada(first, kApply, 1);
  EXPECT_EQ(first.SeatPipMark[4][6], 0);
  first.RuleFirstLead = kFirstLeadDraw;
  AplicaJugada(first, kApply, 1);
  EXPECT_EQ(first.SeatPipMark[4][6], 6);
}

TEST(Marks, PassesDoublesAndOtherTiles) {
  GameState s = MarkTable();
  s.MoveRecord[2] = Entry(1, kNoPip, kNoPip, kPassEnd, 3, 6);
  AplicaJugada(s, kApply, 2);
  EXPECT_EQ(s.SeatPipMark[1][3], -6);
  EXPECT_EQ(s.SeatPipMark[1][6], -6);
  s.MoveRecord[3] = Entry(1, kNoPip, kNoPip, kPassEnd, 5, 5);
  AplicaJugada(s, kApply, 3);
  EXPECT_EQ(s.SeatPipMark[1][5], -6) << "equal ends count once";
  s.MoveRecord[4] = Entry(2, 4, 4, 2, 4, 4);
  AplicaJugada(s, kApply, 4);
  EXPECT_EQ(s.SeatPipMark[2][4], 1);
  s.MoveRecord[5] = Entry(2, 3, 1, 1, 3, 4);
  AplicaJugada(s, kApply, 5);
  EXPECT_EQ(s.SeatPipMark[2][3], -2);
  EXPECT_EQ(s.SeatPipMark[2][1], 3);
}

}  // namespace
}  // namespace tarvelis
