// The mirror of a watched table (seat 0) and the hands it keeps for the
// review, fed what a watcher is sent: a real table's messages to a seat with
// every tile of that seat taken out and each question told as a "turn".
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/hand_review.h"
#include "model/names.h"
#include "net/kept_hands.h"
#include "net/remote_table.h"
#include "protocol/json.h"
#include "protocol/protocol.h"
#include "server/server_table.h"

namespace tarvelis::net {
namespace {

using server::Json;
using TileSet = std::set<std::pair<int, int>>;

std::pair<int, int> Key(int a, int b) {
  return {std::min(a, b), std::max(a, b)};
}

TileSet Held(const GameState& s, int seat) {
  TileSet tiles;
  for (int slot = 1; slot <= kSlots; ++slot) {
    const HandSlot& t = s.Hand[seat][slot];
    if (t.State == 0) tiles.insert(Key(t.PipA, t.PipB));
  }
  return tiles;
}

// What the watcher is sent instead of seat `seat`'s message; empty for none.
std::string AsWatched(const std::string& text) {
  const auto j = server::ParseJson(text, server::JsonLimits{1 << 16, 8, 256});
  if (!j) return {};
  const std::string type = j->StringAt("type", 32).value_or("");
  if (type == "seated") return {};
  Json out = Json::Object();
  for (const auto& [key, value] : j->Members()) {
    if (key == "tiles" || key == "playable" || key == "ms" || key == "token") continue;
    out.Set(key, key == "type" && type == "asked" ? Json::String("turn") : value);
    if (key == "seat" && type == "table") out.Set(key, 0);
  }
  return out.Dump();
}

struct Watched {
  GameState Mirror;
  RemoteTable Remote{Mirror, 0};
  std::vector<TileSet> Shown;  // per closed hand, the tiles shown (server seats)
  int Closed = 0;
};

void Feed(Watched& w, const std::string& seatText) {
  const std::string text = AsWatched(seatText);
  if (text.empty()) return;
  const auto j = server::ParseJson(text, server::JsonLimits{1 << 16, 8, 256});
  for (const NetEvent& e : w.Remote.Read(text)) {
    EXPECT_NE(e.Kind, NetEventKind::kAsked);
    if (e.Kind != NetEventKind::kHandClosed) continue;
    ++w.Closed;
    // The hands shown are those the mirror now holds, seat by seat.
    const Json* hands = j->Find("hands");
    ASSERT_NE(hands, nullptr);
    for (int seat = 1; seat <= kSeats; ++seat) {
      TileSet shown;
      for (const Json& t : hands->Items()[static_cast<std::size_t>(seat - 1)].Items()) {
        shown.insert(Key(static_cast<int>(t.Items()[0].AsNumber()),
                         static_cast<int>(t.Items()[1].AsNumber())));
      }
      EXPECT_EQ(Held(w.Mirror, w.Remote.LocalSeat(seat)), shown) << "seat " << seat;
    }
  }
}

// A whole match of the computer's at a real table, watched from its start:
// no hand is ever the watcher's, each seat shows as many backs as the server
// counts, the hands shown at each close are those held, and every closed
// hand is kept whole for the review.
TEST(WatchedTable, MirrorsAMatchWithoutTilesAndKeepsEveryClosedHand) {
  server::TableSetup setup;
  setup.Seats[1].Kind = server::SeatKind::kPerson;
  setup.Rules.MatchTarget = 2;
  server::ServerTable table("WATCH23456", setup, 11);
  server::ErrorCode error{};
  ASSERT_TRUE(table.Join(1, "Ana", std::string(32, 'a'), error));
  Watched w;
  EXPECT_TRUE(w.Remote.Watching());
  ASSERT_TRUE(table.Start(error, 0));
  int answers = 0;
  while (!w.Remote.Finished() && answers < 3000) {
    for (const server::Outgoing& out : table.TakeOutbox()) {
      if (out.Seat == 1) Feed(w, out.Text);
    }
    const GameState& s = table.State();
    if (s.HandInProgress && w.Mirror.HandInProgress) {
      for (int seat = 1; seat <= kSeats; ++seat) {
        const int local = w.Remote.LocalSeat(seat);
        EXPECT_EQ(w.Mirror.SeatTileCount[local], s.SeatTileCount[seat]);
        EXPECT_EQ(static_cast<int>(Held(w.Mirror, local).size()), s.SeatTileCount[seat]);
        EXPECT_EQ(w.Mirror.SeatTilesShown[local], kTilesHidden);
        EXPECT_EQ(w.Mirror.SeatControl[local], kAutomatic);
      }
    }
    if (w.Remote.Finished() || !s.MatchInProgress) break;
    // The seat's person lets the computer play; the watcher never answers.
    Json move = Json::Object()
                    .Set("v", server::kProtocolVersion)
                    .Set("type", "move")
                    .Set("hand", s.HandNumber)
                    .Set("move", s.MoveNumber)
                    .Set("auto", Json::Bool(true));
    ASSERT_TRUE(table.Answer(1, server::ReadRequest(move.Dump()).Value, error, 0))
        << server::ErrorName(error);
    ++answers;
  }
  for (const server::Outgoing& out : table.TakeOutbox()) {
    if (out.Seat == 1) Feed(w, out.Text);
  }
  ASSERT_TRUE(w.Remote.Finished());
  ASSERT_GE(w.Closed, 1);
  ASSERT_EQ(static_cast<int>(w.Remote.KeptHands().size()), w.Closed);
  for (const KeptHand& kept : w.Remote.KeptHands()) {
    GameState hand = w.Mirror;
    PutKeptHand(hand, kept);
    EXPECT_TRUE(WholeDeal(hand));
    EXPECT_FALSE(hand.HandInProgress);
    // Each tile laid was dealt to the seat that laid it.
    for (int n = 1; n <= hand.MoveNumber; ++n) {
      const MoveEntry& m = hand.MoveRecord[static_cast<std::size_t>(n)];
      if (m[kFEnd] == kPassEnd) continue;
      bool dealt = false;
      for (int slot = 1; slot <= kSlots; ++slot) {
        const HandSlot& t = hand.Hand[m[kFSeat]][slot];
        dealt = dealt || Key(t.PipA, t.PipB) == Key(m[kFPipA], m[kFPipB]);
      }
      EXPECT_TRUE(dealt) << "move " << n;
    }
    // The review reads the person as a person and the computer as such.
    const HandReview subject = ReviewSubject(hand, hand.MoveNumber);
    EXPECT_EQ(static_cast<int>(subject.Entries.size()), hand.MoveNumber);
    EXPECT_EQ(subject.Deal.SeatControl[w.Remote.LocalSeat(1)], kManual);
    EXPECT_EQ(subject.Deal.SeatControl[w.Remote.LocalSeat(2)], kAutomatic);
  }
}

// A question or tiles sent to a watcher by mistake are not taken: it holds
// stand-ins only and is never asked.
TEST(WatchedTable, AWatcherTakesNoTilesAndNoQuestion) {
  GameState mirror;
  RemoteTable remote(mirror, 0);
  remote.Read(R"({"v":1,"type":"started","code":"WATCH23456"})");
  remote.Read(R"({"v":1,"type":"dealt","hand":1,"lead":2,"tiles":[[6,6],[5,5]]})");
  for (int seat = 1; seat <= kSeats; ++seat) EXPECT_EQ(mirror.SeatTileCount[seat], kSlots);
  EXPECT_TRUE(remote
                  .Read(R"({"v":1,"type":"asked","hand":1,"move":1,"seat":4,)"
                        R"("playable":[{"tile":[6,6],"ends":[1]}]})")
                  .empty());
  EXPECT_FALSE(remote.Asked());
  // Nor does a refusal raise a question that never was.
  remote.Read(R"({"v":1,"type":"error","error":"illegal","text":"No"})");
  EXPECT_FALSE(remote.Asked());
  // The seat at the bottom is the server's seat 4, as numbered.
  EXPECT_EQ(remote.LocalSeat(4), kOwnLocalSeat);
  EXPECT_EQ(remote.LocalSeat(2), 2);
  const auto turn = remote.Read(R"({"v":1,"type":"turn","hand":1,"move":1,"seat":2})");
  ASSERT_EQ(turn.size(), 1U);
  EXPECT_EQ(turn[0].Seat, 2);
  // Shown tiles fewer than held: the deal is not whole, nothing is kept.
  remote.Read(R"({"v":1,"type":"hand_closed","hand":1,"domino":false,)"
              R"("hands":[[[0,0]],[],[],[]]})");
  EXPECT_TRUE(remote.KeptHands().empty());
}

// A chat line is a stranger's text: only the table's, cut, without controls
// or the marks that turn text around, and the speaker's name bounded.
TEST(WatchedTable, ChatLinesAreCleanedAndBounded) {
  GameState mirror;
  RemoteTable remote(mirror, 0);
  const std::string longText(1000, 'a');
  auto said = remote.Read(R"({"v":1,"type":"chat","to":"table","from":3,"name":")" +
                          std::string(300, 'N') + R"(","tag":"ab12","text":")" + longText + "\"}");
  ASSERT_EQ(said.size(), 1U);
  EXPECT_EQ(said[0].Kind, NetEventKind::kChat);
  EXPECT_EQ(said[0].Text.size(), kChatTextBytes);
  // A name no two seats share needs no tag.
  EXPECT_EQ(said[0].Title, std::string(kMaxNameLength, 'N'));
  // Two seats named alike: each line says whose it is by the room's tag.
  mirror.SeatName[1] = mirror.SeatName[3] = "Luis";
  said =
      remote.Read(R"({"v":1,"type":"chat","to":"table","name":"Luis","tag":"c3d4","text":"hola"})");
  ASSERT_EQ(said.size(), 1U);
  EXPECT_EQ(said[0].Title, "Luis #c3d4");
  said = remote.Read(
      R"({"v":1,"type":"chat","to":"table","name":"Eva","text":"  hola\u0007 \u202e\u2066a\t  todos\u200f "})");
  ASSERT_EQ(said.size(), 1U);
  EXPECT_EQ(said[0].Text, "hola a todos");
  EXPECT_TRUE(remote.Read(R"({"v":1,"type":"chat","to":"room","name":"Eva","text":"x"})").empty());
  EXPECT_TRUE(
      remote.Read(R"({"v":1,"type":"chat","to":"table","name":"Eva","text":"\u0007"})").empty());
  // Cut at a character's edge: two-byte letters never leave half of one.
  std::string accents;
  for (int i = 0; i < 150; ++i) accents += "\xc3\xa1";
  said =
      remote.Read(R"({"v":1,"type":"chat","to":"table","name":"Eva","text":"x)" + accents + "\"}");
  ASSERT_EQ(said.size(), 1U);
  EXPECT_EQ(said[0].Text.size(), kChatTextBytes - 1);
}

}  // namespace
}  // namespace tarvelis::net
