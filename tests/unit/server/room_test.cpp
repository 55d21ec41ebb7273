#include "server/room.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tarvelis::server {
namespace {

// Strangers write the chat: whatever they send, the line the others read is
// plain text of bounded size.
TEST(ChatText, KeepsWordsAndDropsWhatCouldDeceiveOrBreakALine) {
  struct Case {
    std::string in;
    std::string out;
  };
  const std::vector<Case> cases = {
      {"hola, ¿jugamos?", "hola, ¿jugamos?"},
      {"  mucho    espacio\t\n ", "mucho espacio"},
      {"a\x01\x1f\x7f"
       "b",
       "ab"},
      {"\xc2\x85"
       "c1",
       "c1"},  // a C1 control
      {"ok\xe2\x80\xae"
       "txet",
       "oktxet"},  // right-to-left override
      {"\xe2\x81\xa6"
       "x\xe2\x81\xa9",
       "x"},  // an isolate
      {"\xef\xbb\xbf"
       "bom",
       "bom"},
      {"\xff\xfe"
       "raw",
       "raw"},           // bytes that start no character
      {"\xe2\x82", ""},  // a character cut off at the end
      {"\xed\xa0\x80"
       "s",
       "s"},  // a lone surrogate
      {std::string(5, '\0') + "z", "z"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CleanChatText(c.in, 100), c.out) << c.in;
}

TEST(ChatText, IsCutOnACharactersBoundary) {
  const std::string line = "ñññññ";  // two bytes each
  EXPECT_EQ(CleanChatText(line, 5), "ññ");
  EXPECT_EQ(CleanChatText(std::string(500, 'a'), Room::kMaxChatBytes).size(), Room::kMaxChatBytes);
}

// What each connection received, by message.
std::map<int, std::vector<std::string>> Received(Room& room) {
  std::map<int, std::vector<std::string>> out;
  for (auto& [conn, text] : room.TakeSends()) out[conn].push_back(text);
  return out;
}

RoomTable ATable(const std::string& code) {
  RoomTable t;
  t.Code = code;
  t.Rules = "parejas, 10";
  t.Seats = {RoomSeat{"person", 0, "Ana", 1500}, RoomSeat{"computer", 50, "", 0},
             RoomSeat{"person", 0, "", 0}, RoomSeat{"expert", 0, "", 0}};
  return t;
}

TEST(Room, EnteringGivesTheWholeRoomOnceAndTheOthersOneLine) {
  Room room;
  room.Table(ATable("AAAAAA"));
  room.Enter(1, {"Ana", "abcdef01", 1500, ""});
  auto first = Received(room);
  ASSERT_EQ(first[1].size(), 1u);
  EXPECT_NE(first[1][0].find(R"("type":"room")"), std::string::npos);
  EXPECT_NE(first[1][0].find("AAAAAA"), std::string::npos);

  room.Enter(2, {"Ana", "99990000", 1620, ""});
  auto second = Received(room);
  ASSERT_EQ(second[1].size(), 1u);  // one line about the newcomer
  EXPECT_NE(second[1][0].find(R"("type":"room_person")"), std::string::npos);
  EXPECT_NE(second[1][0].find(R"("tag":"9999")"), std::string::npos);
  EXPECT_EQ(second[2].size(), 1u);
  // The key hash itself is never sent, only its tag.
  EXPECT_EQ(second[2][0].find("99990000"), std::string::npos);
}

TEST(Room, AChangeReachesEveryoneOnlyWhenSomethingChanged) {
  Room room;
  for (int conn = 1; conn <= 3; ++conn) room.Enter(conn, {"P", "0000", 1500, ""});
  Received(room);
  RoomTable t = ATable("BBBBBB");
  room.Table(t);
  EXPECT_EQ(Received(room).size(), 3u);
  room.Table(t);  // the same again: nothing to tell
  EXPECT_TRUE(Received(room).empty());
  t.Watchers = 1;
  room.Table(t);
  auto changed = Received(room);
  ASSERT_EQ(changed[2].size(), 1u);
  EXPECT_NE(changed[2][0].find(R"("watchers":1)"), std::string::npos);
  room.TableGone("BBBBBB");
  room.TableGone("BBBBBB");
  EXPECT_EQ(Received(room)[3].size(), 1u);
  room.Leave(2);
  auto left = Received(room);
  EXPECT_EQ(left.count(2), 0u);
  EXPECT_NE(left[1][0].find(R"("gone":true)"), std::string::npos);
  EXPECT_EQ(room.People(), 2u);
}

TEST(Room, ChatComesOnlyFromInsideAndNeverEmpty) {
  Room room;
  room.Enter(1, {"Ana", "aaaa", 1500, ""});
  room.Enter(2, {"Beatriz", "bbbb", 1500, ""});
  Received(room);
  EXPECT_FALSE(room.Say(7, "hola"));  // not in the room
  EXPECT_FALSE(room.Say(1, "\x01\x02   "));
  EXPECT_TRUE(Received(room).empty());
  EXPECT_TRUE(room.Say(1, "hola"));
  auto heard = Received(room);
  EXPECT_EQ(heard[1].size(), 1u);  // the speaker sees the line as the others do
  EXPECT_NE(heard[2][0].find(R"("text":"hola")"), std::string::npos);
}

TEST(Room, HeldNewsSendsEachSubjectsLastChangeOnceAndTheChatAtOnce) {
  Room room;
  room.HoldNews(true);
  room.Enter(1, {"Ana", "aaaa", 1500, ""});
  room.Enter(2, {"Eva", "bbbb", 1500, ""});
  room.SendNews();
  Received(room);
  RoomTable table = ATable("CCCCCC");
  room.Table(table);
  table.Watchers = 3;
  room.Table(table);
  room.Moved(2, "CCCCCC");
  room.Enter(3, {"Luz", "cccc", 1500, ""});
  room.Leave(3);
  EXPECT_TRUE(room.Say(1, "hola"));
  auto heard = Received(room);
  // The chat went at once; the changes wait.
  ASSERT_EQ(heard[2].size(), 1u);
  EXPECT_NE(heard[2][0].find(R"("type":"chat")"), std::string::npos);
  room.SendNews();
  heard = Received(room);
  // The table once, as it stands; Eva once; Luz only gone.
  ASSERT_EQ(heard[1].size(), 3u);
  EXPECT_NE(heard[1][0].find(R"("watchers":3)"), std::string::npos);
  EXPECT_NE(heard[1][1].find(R"("where":"CCCCCC")"), std::string::npos);
  EXPECT_NE(heard[1][2].find(R"("gone":true)"), std::string::npos);
  room.SendNews();
  EXPECT_TRUE(Received(room).empty());
}

TEST(Room, AFullRoomIsListedToANewcomerInSharesThatEachFitWhatItMayLeaveUnread) {
  Room room;
  for (int conn = 1; conn <= 1000; ++conn) room.Enter(conn, {"Persona", "abcd", 1500, ""});
  for (int t = 0; t < 200; ++t) room.Table(ATable("T" + std::to_string(1000 + t)));
  // Those who came in last had long listings too: done first.
  for (int round = 0; round < 100 && !room.Listings().empty(); ++round) room.ContinueListings();
  ASSERT_TRUE(room.Listings().empty());
  Received(room);
  room.Enter(2000, {"Nueva", "ffff", 1500, ""});
  std::set<std::string> listed;
  int rounds = 0;
  for (auto heard = Received(room); !heard[2000].empty(); heard = Received(room), ++rounds) {
    std::size_t bytes = 0;
    for (const std::string& text : heard[2000]) {
      bytes += text.size();
      const Json j = ParseJson(text, {1 << 20, 8, 1 << 14}).value();
      for (const char* list : {"people", "tables"}) {
        if (const Json* items = j.Find(list); items != nullptr) {
          for (const Json& item : items->Items())
            listed.insert(item.Find("id") != nullptr ? item.Find("id")->Dump()
                                                     : *item.StringAt("code", 16));
        }
      }
      if (const Json* p = j.Find("person"); p != nullptr) listed.insert(p->Find("id")->Dump());
      if (const Json* t = j.Find("table"); t != nullptr) listed.insert(*t->StringAt("code", 16));
    }
    // The first share is the room message; then, alternately, the share a
    // connection that read everything may take, and the round's default.
    EXPECT_LE(bytes, (rounds % 2 == 1 ? 8 * 1024 : Room::kListingBytes) + 1024);
    // A connection that has not read what it was sent is sent nothing more.
    room.ContinueListings([](int) { return std::size_t{0}; });
    EXPECT_TRUE(Received(room).empty());
    EXPECT_EQ(room.Listings(), room.Listing(2000) ? std::vector<int>{2000} : std::vector<int>{});
    if (rounds % 2 == 0) {
      room.ContinueListings([](int conn) { return conn == 2000 ? std::size_t{8 * 1024} : 0; });
    } else {
      room.ContinueListings();
    }
    ASSERT_LT(rounds, 100);
  }
  EXPECT_GT(rounds, 4);
  EXPECT_EQ(listed.size(), 1001u + 200u);
  EXPECT_FALSE(room.Listing(2000));
}

TEST(QuickSeat, ChoosesTheTableNearestToStartingUnderThePlayersRules) {
  Room room;
  EXPECT_FALSE(QuickSeat(room, "parejas, 10"));
  RoomTable twoFree = ATable("CCCCCC");  // Ana at 1, seat 3 free
  twoFree.Seats[3] = {"person", 0, "", 0};
  RoomTable oneFree = ATable("DDDDDD");
  RoomTable otherRules = ATable("AAAAAA");
  otherRules.Rules = "individual, 5";
  RoomTable started = ATable("BBBBBB");
  started.Started = true;
  for (const RoomTable& t : {twoFree, oneFree, otherRules, started}) room.Table(t);
  const auto choice = QuickSeat(room, "parejas, 10");
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->Code, "DDDDDD");
  EXPECT_EQ(choice->Seat, 3);
  room.TableGone("DDDDDD");
  EXPECT_EQ(QuickSeat(room, "parejas, 10")->Code, "CCCCCC");
  EXPECT_FALSE(QuickSeat(room, "individual, 10"));
}

}  // namespace
}  // namespace tarvelis::server
