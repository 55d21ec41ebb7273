#include "net/room_model.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/json.h"
#include "storage/server_choice.h"

namespace tarvelis::net {
namespace {

const char* kRoom = R"({"v":1,"type":"room","you":7,"people":[
  {"id":7,"name":"Ana","tag":"a1b2","rating":1500,"where":""},
  {"id":8,"name":"Luis","tag":"c3d4","rating":1623.6,"where":"K7P2QXM4TR"},
  {"id":9,"name":"Luis","tag":"e5f6","rating":1410,"where":""}],
 "tables":[{"code":"K7P2QXM4TR","rules":"Por parejas, partida a 100 puntos","seats":[
  {"kind":"person","name":"Luis","rating":1624},{"kind":"computer","level":70},
  {"kind":"person"},{"kind":"expert"}],"started":false,"watchers":2}]})";

TEST(RoomModel, ReadsTheRoomAndFollowsItsChanges) {
  RoomModel room;
  ASSERT_EQ(room.Read(kRoom), RoomModel::Heard::kRoom);
  EXPECT_TRUE(room.Entered());
  EXPECT_EQ(room.You(), 7);
  ASSERT_EQ(room.People().size(), 3u);
  EXPECT_EQ(room.People()[1].Rating, 1624);
  EXPECT_EQ(room.People()[1].Where, "K7P2QXM4TR");
  // A tag only where a name is shared.
  EXPECT_EQ(room.ShownName(room.People()[0]), "Ana");
  EXPECT_EQ(room.ShownName(room.People()[2]), "Luis #e5f6");
  const RoomTable* t = room.TableOf("K7P2QXM4TR");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->FreeChairs(), 1);
  EXPECT_EQ(t->Chairs[0].Name, "Luis");
  EXPECT_EQ(t->Chairs[1].Kind, SeatKind::kComputer);
  EXPECT_EQ(t->Chairs[1].Level, 70);
  EXPECT_EQ(t->Watchers, 2);

  EXPECT_EQ(room.Read(R"({"v":1,"type":"room_person","id":9,"gone":true})"),
            RoomModel::Heard::kPerson);
  EXPECT_EQ(room.ShownName(room.People()[1]), "Luis");
  room.Read(
      R"({"v":1,"type":"room_person","person":{"id":8,"name":"Luis","tag":"c3d4","rating":1630,"where":""}})");
  EXPECT_EQ(room.PersonOf(8)->Rating, 1630);
  EXPECT_EQ(room.People().size(), 2u);

  EXPECT_EQ(room.Read(R"({"v":1,"type":"can_fill","code":"K7P2QXM4TR"})"),
            RoomModel::Heard::kCanFill);
  EXPECT_EQ(room.FillCode(), "K7P2QXM4TR");
  // Started: the offer to fill goes with it.
  room.Read(R"({"v":1,"type":"room_table","table":{"code":"K7P2QXM4TR","rules":"x","seats":[
    {"kind":"person","name":"Luis"},{"kind":"computer"},{"kind":"person","name":"Ana"},
    {"kind":"expert"}],"started":true,"watchers":0}})");
  EXPECT_TRUE(room.TableOf("K7P2QXM4TR")->Started);
  EXPECT_TRUE(room.FillCode().empty());
  room.Read(R"({"v":1,"type":"room_table","code":"K7P2QXM4TR","gone":true})");
  EXPECT_TRUE(room.Tables().empty());
}

std::string Person(int id, const std::string& name, const std::string& rest = "") {
  return R"({"id":)" + std::to_string(id) + R"(,"name":")" + name + R"(","tag":"t)" +
         std::to_string(id) + "\"" + rest + "}";
}

TEST(RoomModel, AStrangersMessagesAreBoundedInCountLengthAndRange) {
  RoomModel room;
  std::string people;
  for (int id = 1; id <= 500; ++id) people += (id > 1 ? "," : "") + Person(id, "P");
  const std::string many = R"({"v":1,"type":"room","you":1,"people":[)" + people +
                           R"(],"tables":[{"code":"BAD","seats":[]},{"code":"K7P2QXM4TR",
    "seats":[{"kind":"person"}],"started":true}]})";
  ASSERT_EQ(room.Read(many), RoomModel::Heard::kRoom);
  EXPECT_EQ(room.People().size(), kRoomMostPeople);
  // Neither a bad code nor three chairs make a table.
  EXPECT_TRUE(room.Tables().empty());

  const std::string longName(300, 'x');
  room.Read(R"({"v":1,"type":"room_person","person":)" +
            Person(2, longName, R"(,"rating":1e12,"where":"nowhere")") + "}");
  const RoomPerson* p = room.PersonOf(2);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->Name.size(), 20u);
  EXPECT_EQ(p->Rating, 0);
  EXPECT_TRUE(p->Where.empty());
  // A tag that is not letters and digits is none.
  room.Read(R"({"v":1,"type":"room_person","person":{"id":3,"name":"A","tag":"a b"}})");
  EXPECT_TRUE(room.PersonOf(3)->Tag.empty());

  room.Read(R"({"v":1,"type":"leaderboard","players":[{"name":"A","hands":3,"hands_won":9,
    "rating":-5,"matches":2}]})");
  ASSERT_EQ(room.Leaderboard().size(), 1u);
  EXPECT_EQ(room.Leaderboard()[0].HandsWon, 3);
  EXPECT_EQ(room.Leaderboard()[0].Rating, 0);
  std::string history;
  for (int i = 0; i < 80; ++i)
    history += (i ? "," : "") +
               std::string(R"({"date":"2026-12-07","total":3,"before":1500,"after":1510})");
  ASSERT_EQ(
      room.Read(R"({"v":1,"type":"player","name":"Ana","tag":"a1","rating":1510,"history":[)" +
                history + "]}"),
      RoomModel::Heard::kPlayer);
  EXPECT_EQ(room.Page()->History.size(), kRoomMostHistory);
  EXPECT_EQ(room.Page()->History[0].After, 1510);
  // Not the room's, or not of this version: nothing changes.
  EXPECT_EQ(room.Read(R"({"v":2,"type":"room_person","id":1,"gone":true})"),
            RoomModel::Heard::kNothing);
  EXPECT_EQ(room.Read(R"({"v":1,"type":"laid"})"), RoomModel::Heard::kNothing);
}

std::string Chat(const std::string& tag, const std::string& text) {
  return R"({"v":1,"type":"chat","to":"room","from":4,"name":"Eva","tag":")" + tag +
         R"(","text":")" + text + "\"}";
}

TEST(RoomModel, TheChatKeepsItsLastLinesCleanAndDropsTheMuted) {
  RoomModel room;
  for (int i = 0; i < 150; ++i) room.Read(Chat("aa", "linea " + std::to_string(i)));
  ASSERT_EQ(room.Chat().size(), kRoomChatLines);
  EXPECT_EQ(room.Chat().front().Text, "linea 50");
  EXPECT_EQ(room.Chat().back().Text, "linea 149");

  // Marks that turn text around and control characters go; blanks run together.
  room.Read(Chat("bb", "  hola\\u202e  \\u0007mundo\\u2066 "));
  EXPECT_EQ(room.Chat().back().Text, "hola mundo");
  EXPECT_EQ(room.Read(Chat("bb", " \\u202e ")), RoomModel::Heard::kNothing);
  EXPECT_LE(CleanChatText(std::string(500, 'a')).size(), kChatTextBytes);
  // Cut on a character's edge, never inside one.
  const std::string cut = CleanChatText(std::string(199, 'a') + "ñ");
  EXPECT_EQ(cut, std::string(199, 'a'));

  room.Mute("aa");
  EXPECT_EQ(room.Chat().size(), 1u);
  EXPECT_EQ(room.Read(Chat("aa", "otra")), RoomModel::Heard::kNothing);
  EXPECT_EQ(room.Chat().size(), 1u);
  room.Mute("zz");
  EXPECT_EQ(ParseMutes(MutesText(room.Mutes())), room.Mutes());
  EXPECT_EQ(ParseMutes("aa  b-c zz " + std::string(40, 'q')), (std::set<std::string>{"aa", "zz"}));
  room.Unmute("aa");
  EXPECT_EQ(room.Read(Chat("aa", "de nuevo")), RoomModel::Heard::kChat);
}

TEST(RoomModel, MutesOutliveTheGameBesideTheServersOtherLines) {
  ServerFile file{"127.0.0.1:7801", std::nullopt, NetworkWindowMemory{}, MutesText({"a1", "b2"})};
  const ServerFile back = ParseServerFile(ServerFileText(file));
  EXPECT_EQ(ParseMutes(back.Mutes), (std::set<std::string>{"a1", "b2"}));
  EXPECT_EQ(back.Address, "127.0.0.1:7801");
  // A line that would break the file is not written; the rest stays.
  file.Mutes = "a1\r\nServidor=evil:1";
  const ServerFile broken = ParseServerFile(ServerFileText(file));
  EXPECT_TRUE(broken.Mutes.empty());
  EXPECT_EQ(broken.Address, "127.0.0.1:7801");
}

TEST(RoomModel, TheQuickSeatIsTheServersChoiceAndAPublicTableSaysSo) {
  GameState settings;
  Lobby lobby;
  lobby.BeginQuick(settings, "Ana");
  EXPECT_EQ(lobby.CurrentStage(), Lobby::Stage::kJoining);
  lobby.Read(R"({"v":1,"type":"seated","code":"K7P2QXM4TR","seat":3,"token":")" +
             std::string(32, 'a') + "\"}");
  EXPECT_EQ(lobby.CurrentStage(), Lobby::Stage::kSeated);
  EXPECT_EQ(lobby.Seat(), 3);
  EXPECT_EQ(lobby.Code(), "K7P2QXM4TR");
  // Another table's offer to fill is not this one's.
  lobby.Read(R"({"v":1,"type":"can_fill","code":"H3W9ZT6CNA"})");
  EXPECT_FALSE(lobby.MayFill());
  lobby.Read(R"({"v":1,"type":"can_fill","code":"K7P2QXM4TR"})");
  ASSERT_TRUE(lobby.MayFill());
  EXPECT_EQ(server::ParseJson(lobby.Fill())->StringAt("type", 8), "fill");
  EXPECT_TRUE(lobby.Fill().empty());
  EXPECT_FALSE(lobby.Host());
  lobby.Read(R"({"v":1,"type":"started","code":"K7P2QXM4TR","rules":{},"seats":[]})");
  EXPECT_EQ(lobby.CurrentStage(), Lobby::Stage::kStarted);

  TablePlan plan = PlanFromSettings(settings);
  EXPECT_EQ(server::ParseJson(CreateRequest(settings, plan))->Find("public"), nullptr);
  plan.Public = true;
  const auto request = server::ParseJson(CreateRequest(settings, plan));
  ASSERT_NE(request->Find("public"), nullptr);
  EXPECT_TRUE(request->Find("public")->AsBool());
}

TEST(RoomModel, RequestsCarryWhatTheRoomAsks) {
  const auto enter = server::ParseJson(EnterRequest(std::string(64, 'f'), "Ana"));
  ASSERT_TRUE(enter);
  EXPECT_EQ(enter->StringAt("type", 16), "enter");
  EXPECT_EQ(enter->StringAt("key", 64), std::string(64, 'f'));
  const auto say = server::ParseJson(SayRequest(false, "\u202e hola\t\nsala "));
  EXPECT_EQ(say->StringAt("to", 8), "table");
  EXPECT_EQ(say->StringAt("text", 200), "hola sala");
  EXPECT_EQ(server::ParseJson(LeaderboardRequest(500))->IntAt("most", 1, 100), 100);
  GameState settings;
  EXPECT_NE(server::ParseJson(QuickRequest(settings))->Find("rules"), nullptr);
}

}  // namespace
}  // namespace tarvelis::net
