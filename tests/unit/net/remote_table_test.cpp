#include "net/remote_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "model/names.h"
#include "server/server_table.h"

namespace tarvelis::net {
namespace {

using server::ServerTable;

std::multiset<std::pair<int, int>> HeldTiles(const GameState& s, int seat) {
  std::multiset<std::pair<int, int>> tiles;
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = s.Hand[seat][slot];
    if (t.State == 0) tiles.insert({std::min(t.PipA, t.PipB), std::max(t.PipA, t.PipB)});
  }
  return tiles;
}

// Every tile is somewhere once: in a hand or on the chain (of a deal that
// named fewer, as many as it named).
void ExpectEveryTileOnce(const GameState& s, std::size_t named = kTiles) {
  std::set<std::pair<int, int>> seen;
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& t = s.Hand[seat][slot];
      if (t.PipA == kNoPip) continue;
      EXPECT_TRUE(seen.insert({std::min(t.PipA, t.PipB), std::max(t.PipA, t.PipB)}).second)
          << "tile " << t.PipA << "-" << t.PipB << " twice";
    }
  }
  EXPECT_EQ(seen.size(), named);
}

// A whole match at a real server table, seen from seat 3, read into a
// mirror; seat 1's person leaves at the start (the computer plays it) and the
// others are the computer's. Halfway through a hand a second mirror is built
// from the table's view alone, as after a dropped connection.
TEST(RemoteTable, FollowsAWholeMatchAndResumesFromTheView) {
  server::TableSetup setup;
  setup.Seats[3].Kind = setup.Seats[1].Kind = server::SeatKind::kPerson;
  setup.Rules.MatchTarget = 3;
  ServerTable table("ABC234", setup, 7);
  server::ErrorCode error{};
  ASSERT_TRUE(table.Join(3, "Ana", std::string(32, 'a'), error));
  ASSERT_TRUE(table.Join(1, "Luis", std::string(32, 'b'), error));
  GameState mirror;
  RemoteTable remote(mirror, 3);
  EXPECT_EQ(remote.LocalSeat(3), kOwnLocalSeat);
  EXPECT_EQ(remote.ServerSeat(remote.LocalSeat(3)), 3);
  ASSERT_TRUE(table.Start(error, 0));
  table.Left(1, 0);
  int answers = 0, laid = 0, resumed = 0, told = 0, closed = 0;
  bool dealt = false;
  while (!remote.Finished() && answers < 2000) {
    // The server has played on to the next question: the mirror, once it
    // has read what the seat was sent, stands where the server stands.
    const GameState& s = table.State();
    for (const server::Outgoing& out : table.TakeOutbox()) {
      if (out.Seat != 3) continue;
      for (const NetEvent& e : remote.Read(out.Text)) {
        laid += e.Kind == NetEventKind::kLaid ? 1 : 0;
        // The first lead's notice shows over the dealt tiles, never before.
        dealt = dealt || e.Kind == NetEventKind::kDealt;
        if (e.Kind == NetEventKind::kNotice) {
          EXPECT_TRUE(dealt) << e.Text;
        }
        if (e.Kind == NetEventKind::kSeats) {
          ++told;
          EXPECT_EQ(e.Seat, remote.LocalSeat(1));
          EXPECT_NE(e.Text.find("Luis"), std::string::npos);
        }
        if (e.Kind == NetEventKind::kHandClosed) {
          ExpectEveryTileOnce(mirror);
          ++closed;
        }
      }
    }
    if (s.HandInProgress) {
      EXPECT_EQ(mirror.EndPips, s.EndPips);
      EXPECT_EQ(mirror.MoveNumber, s.MoveNumber);
      EXPECT_EQ(HeldTiles(mirror, kOwnLocalSeat), HeldTiles(s, 3));
      for (int seat = 1; seat <= kSeats; ++seat) {
        EXPECT_EQ(mirror.SeatTileCount[remote.LocalSeat(seat)], s.SeatTileCount[seat]);
      }
    }
    if (!remote.Asked()) break;
    if (resumed == 0 && table.State().MoveNumber > 4) {
      GameState again;
      RemoteTable view(again, 3);
      view.Read(table.ViewFor(3));
      EXPECT_EQ(again.MoveRecord, mirror.MoveRecord);
      EXPECT_EQ(again.EndPips, mirror.EndPips);
      EXPECT_EQ(HeldTiles(again, kOwnLocalSeat), HeldTiles(mirror, kOwnLocalSeat));
      ExpectEveryTileOnce(again);
      ++resumed;
    }
    // The first playable tile, at its first end: what a click would send.
    ASSERT_FALSE(remote.Playable().empty());
    const PlayableTile& t = remote.Playable().front();
    const auto request =
        server::ReadRequest(remote.MoveMessage(t.PipA, t.PipB, t.End1 ? 1 : 2)).Value;
    remote.Answered();
    ASSERT_TRUE(table.Answer(3, request, error, 0)) << server::ErrorName(error);
    ++answers;
  }
  ASSERT_TRUE(remote.Finished());
  EXPECT_GT(laid, 20);
  EXPECT_EQ(resumed, 1);
  EXPECT_EQ(told, 1);
  // Every closed hand is kept whole for the review, the seat's own as it was dealt.
  ASSERT_EQ(static_cast<int>(remote.KeptHands().size()), closed);
  GameState last = mirror;
  PutKeptHand(last, remote.KeptHands().back());
  EXPECT_EQ(last.Hand, mirror.Hand);
  EXPECT_EQ(last.SeatControl[kOwnLocalSeat], kManual);
  const GameState& s = table.State();
  for (int seat = 1; seat <= kSeats; ++seat) {
    EXPECT_EQ(mirror.SeatTotal[remote.LocalSeat(seat)], s.SeatTotal[seat]);
  }
  // Seat 3 is in the server's pair 2 and sits at the bottom, in local pair 1.
  EXPECT_EQ(mirror.PairTotal[1], s.PairTotal[2]);
  EXPECT_EQ(mirror.PairTotal[2], s.PairTotal[1]);
}

// What a hostile or broken server may send: names far past the longest a
// player can type, numbers past every field of the state, numbers that are
// no whole numbers, and types nobody knows. The mirror takes what fits and
// leaves the rest.
TEST(RemoteTable, KeepsEveryNumberAndNameOfAServerInRange) {
  GameState mirror;
  RemoteTable remote(mirror, 1);
  const std::string longName(256, 'x');
  const std::string accented = "\xc3\xa1";  // one character, two bytes
  std::string manyAccents;
  for (int i = 0; i < 100; ++i) manyAccents += accented;
  std::string seats = "[";
  for (int seat = 1; seat <= kSeats; ++seat) {
    const std::string name = seat == 2 ? manyAccents : seat == 3 ? "Ana\\u0007" : longName;
    seats += (seat > 1 ? "," : "") + std::string("{\"seat\":") + std::to_string(seat) +
             ",\"kind\":\"person\",\"name\":\"" + name + "\",\"taken\":true,\"present\":true}";
  }
  seats += "]";
  remote.Read(R"({"v":1,"type":"started","code":"ABC234","seats":)" + seats + "}");
  ASSERT_TRUE(remote.Started());
  EXPECT_EQ(mirror.SeatName[remote.LocalSeat(1)], std::string(kMaxNameLength, 'x'));
  std::string cut;
  for (int i = 0; i < kMaxNameLength; ++i) cut += accented;
  EXPECT_EQ(mirror.SeatName[remote.LocalSeat(2)], cut);
  EXPECT_EQ(mirror.SeatName[remote.LocalSeat(3)], "Ana");

  const auto totals = [&](const std::string& pairs, const std::string& seatTotals) {
    remote.Read(R"({"v":1,"type":"hand_end","hand":1,"winner":1,"points":5,"totals":{"pairs":)" +
                pairs + R"(,"seats":)" + seatTotals + "}}");
  };
  totals("[12,30]", "[1,2,3,4]");
  EXPECT_EQ(mirror.PairTotal[1] + mirror.PairTotal[2], 42);
  for (const auto& [pairs, seatTotals] :
       std::vector<std::pair<std::string, std::string>>{{"[1e300,5]", "[1,2,3,4]"},
                                                        {"[70000,5]", "[1,2,3,4]"},
                                                        {"[-1,5]", "[1,2,3,4]"},
                                                        {"[1.5,5]", "[1,2,3,4]"},
                                                        {"[7]", "[1,2,3,4]"},
                                                        {"[1,5]", "[1,2,3,\"4\"]"},
                                                        {"[1,5]", "[1,2,3,-2147483649]"}}) {
    totals(pairs, seatTotals);
    EXPECT_EQ(mirror.PairTotal[1] + mirror.PairTotal[2], 42) << pairs << " " << seatTotals;
    EXPECT_EQ(mirror.SeatTotal[remote.LocalSeat(4)], 4) << pairs << " " << seatTotals;
  }

  // A hand or a move past the state's fields is no hand or move.
  remote.Read(R"({"v":1,"type":"dealt","hand":99999999,"lead":1,"tiles":[[6,6]]})");
  EXPECT_GE(mirror.HandNumber, 0);
  EXPECT_TRUE(
      remote.Read(R"({"v":1,"type":"laid","hand":1,"move":1e9,"seat":1,"tile":[6,6]})").empty());
  EXPECT_TRUE(remote.Read(R"({"v":1,"type":"no_such_type","hand":1})").empty());
  EXPECT_TRUE(remote.Read(R"({"v":1,"type":"match_end","winner":1e300})").size() == 1);
  EXPECT_EQ(remote.MatchWinner(), 0);
}

// A server that names a tile twice (in a deal, or laid a second time) leaves
// each tile somewhere once and each seat's count the tiles it holds, or the
// table would draw a hand of minus one.
TEST(RemoteTable, ATileNamedTwiceIsTakenOnce) {
  GameState mirror;
  RemoteTable remote(mirror, 1);
  remote.Read(R"({"v":1,"type":"started","code":"ABC234"})");
  remote.Read(R"({"v":1,"type":"dealt","hand":1,"lead":1,)"
              R"("tiles":[[6,6],[6,6],[5,4],[4,5],[3,3],[2,1],[1,0],[0,0]]})");
  // Six tiles named, each once: the seventh is nobody's.
  ExpectEveryTileOnce(mirror, kTiles - 1);
  EXPECT_EQ(HeldTiles(mirror, kOwnLocalSeat).size(), 6U);
  const auto counts = [&] {
    for (int seat = 1; seat <= kSeats; ++seat) {
      EXPECT_EQ(mirror.SeatTileCount[seat], static_cast<int>(HeldTiles(mirror, seat).size()))
          << "seat " << seat;
    }
  };
  counts();
  EXPECT_FALSE(
      remote.Read(R"({"v":1,"type":"laid","hand":1,"move":1,"seat":1,"tile":[6,6],"end":1})")
          .empty());
  // The same tile again, by the next seat: refused, nothing counted.
  EXPECT_TRUE(
      remote.Read(R"({"v":1,"type":"laid","hand":1,"move":2,"seat":2,"tile":[6,6],"end":1})")
          .empty());
  counts();
  ExpectEveryTileOnce(mirror, kTiles - 1);

  // The same from a whole table's view, where the moves name a tile twice.
  GameState back;
  RemoteTable again(back, 1);
  again.Read(R"({"v":1,"type":"table","code":"ABC234","started":true,"hand":1,"move":4,)"
             R"("turn":4,"lead":1,"tiles":[[5,5],[4,4]],"moves":[{"seat":1,"tile":[6,6],"end":1},)"
             R"({"seat":2,"tile":[6,5],"end":1},{"seat":3,"tile":[6,5],"end":2}]})");
  for (int seat = 1; seat <= kSeats; ++seat) {
    int held = 0;
    for (int slot = 1; slot <= kSlots; ++slot) held += back.Hand[seat][slot].State == 0 ? 1 : 0;
    EXPECT_EQ(back.SeatTileCount[seat], held) << "seat " << seat;
  }
  // The seat's two unplayed tiles and its lead: the others' 21 stand-ins.
  ExpectEveryTileOnce(back, 24);
}

}  // namespace
}  // namespace tarvelis::net
