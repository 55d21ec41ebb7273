#include "net/remote_table.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

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

// Every tile is somewhere once: in a hand or on the chain.
void ExpectEveryTileOnce(const GameState& s) {
  std::set<std::pair<int, int>> seen;
  for (int seat = 1; seat <= kSeats; ++seat) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const HandSlot& t = s.Hand[seat][slot];
      if (t.PipA == kNoPip) continue;
      EXPECT_TRUE(seen.insert({std::min(t.PipA, t.PipB), std::max(t.PipA, t.PipB)}).second)
          << "tile " << t.PipA << "-" << t.PipB << " twice";
    }
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kTiles));
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
  int answers = 0, laid = 0, resumed = 0, told = 0;
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
        if (e.Kind == NetEventKind::kHandClosed) ExpectEveryTileOnce(mirror);
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
  const GameState& s = table.State();
  for (int seat = 1; seat <= kSeats; ++seat) {
    EXPECT_EQ(mirror.SeatTotal[remote.LocalSeat(seat)], s.SeatTotal[seat]);
  }
  // Seat 3 is in the server's pair 2 and sits at the bottom, in local pair 1.
  EXPECT_EQ(mirror.PairTotal[1], s.PairTotal[2]);
  EXPECT_EQ(mirror.PairTotal[2], s.PairTotal[1]);
}

}  // namespace
}  // namespace tarvelis::net
