#include "net/lobby.h"

#include <gtest/gtest.h>

#include <deque>

#include "model/texts.h"
#include "server/hall.h"
#include "storage/server_choice.h"

namespace tarvelis::net {
namespace {

// Lobbies talking to a real hall, each on its own connection; the messages a
// lobby has not read wait in its inbox, as in the link.
struct Room {
  server::Hall hall{server::HallOptions{}};
  std::map<int, std::deque<std::string>> inbox;

  void Send(int conn, const std::string& text) {
    if (!inbox.contains(conn)) hall.Opened(conn);
    inbox[conn];
    hall.Received(conn, text, 0);
    for (auto& [to, message] : hall.TakeSends()) inbox[to].push_back(message);
  }
  // Reads until the lobby has started or nothing is left; the started message stays.
  void Pump(int conn, Lobby& lobby) {
    while (!inbox[conn].empty()) {
      const std::string reply = lobby.Read(inbox[conn].front());
      if (lobby.CurrentStage() == Lobby::Stage::kStarted) return;
      inbox[conn].pop_front();
      if (!reply.empty()) Send(conn, reply);
    }
  }
};

TEST(Lobby, CreatesFromTheSettingsAndStartsOnceEveryPersonSits) {
  GameState settings;
  settings.RuleMode = kModeIndividual;
  settings.MatchTarget = 3;
  settings.SeatLevel[1] = 20;
  settings.SeatExpert[3] = true;
  settings.SeatControl[2] = kManual;
  TablePlan plan = PlanFromSettings(settings);
  EXPECT_EQ(plan.OwnSeat, 4);
  plan.CycleKind(4);  // the player's own seat stays a person's
  EXPECT_EQ(plan.Kinds,
            (PerSeat<SeatKind>{SeatKind::kPerson, SeatKind::kComputer, SeatKind::kPerson,
                               SeatKind::kExpert, SeatKind::kPerson}));
  const auto create = server::ReadRequest(CreateRequest(settings, plan));
  ASSERT_TRUE(create.Ok);
  EXPECT_EQ(create.Value.Setup.Seats[1].Level, 20);
  EXPECT_EQ(create.Value.Setup.Rules.RuleMode, kModeIndividual);
  EXPECT_EQ(create.Value.Setup.Rules.MatchTarget, 3);

  Room room;
  Lobby host;
  room.Send(1, host.BeginCreate(settings, plan, "Ana"));
  room.Pump(1, host);
  ASSERT_EQ(host.CurrentStage(), Lobby::Stage::kSeated);
  EXPECT_FALSE(host.MayStart()) << "seat 2 is a person's, still free";
  EXPECT_TRUE(host.Start().empty());

  // A friend's mistakes leave the friend free to try again.
  const std::pair<int, Fault> tries[] = {{4, Fault::kSeatTaken}, {1, Fault::kNotPerson}};
  for (const auto& [seat, fault] : tries) {
    Lobby friendly;
    room.Send(2, friendly.BeginJoin(host.Code(), seat, "Luis"));
    room.Pump(2, friendly);
    EXPECT_EQ(friendly.CurrentStage(), Lobby::Stage::kIdle);
    EXPECT_EQ(friendly.LastFault(), fault);
  }
  Lobby wrong;
  room.Send(3, wrong.BeginJoin("ZZZZZZZZZZ", 2, "Eva"));
  room.Pump(3, wrong);
  EXPECT_EQ(wrong.LastFault(), Fault::kNoTable);

  Lobby friendly;
  room.Send(2, friendly.BeginJoin(host.Code(), 2, "Luis"));
  room.Pump(2, friendly);
  room.Pump(1, host);
  EXPECT_EQ(host.Seats()[2].Name, "Luis");
  ASSERT_TRUE(host.MayStart());
  EXPECT_FALSE(friendly.MayStart()) << "only the host starts";
  room.Send(1, host.Start());
  room.Pump(1, host);
  room.Pump(2, friendly);
  for (const auto& [conn, lobby] : {std::pair<int, Lobby*>{1, &host}, {2, &friendly}}) {
    EXPECT_EQ(lobby->CurrentStage(), Lobby::Stage::kStarted);
    EXPECT_NE(room.inbox[conn].front().find("\"type\":\"started\""), std::string::npos);
  }
  const JoinedTable joined = friendly.Joined(ServerAddress{});
  EXPECT_EQ(joined.Seat, 2);
  EXPECT_TRUE(server::IsTokenText(joined.Token));
  EXPECT_FALSE(joined.Host);
}

TEST(Lobby, FaultsAndTypedFields) {
  Lobby lobby;
  lobby.BeginJoin("K7P2QXM4TR", 4, "Ana");
  lobby.ConnectionLost(false);
  EXPECT_EQ(lobby.LastFault(), Fault::kNoServer);
  lobby.BeginJoin("K7P2QXM4TR", 4, "Ana");
  lobby.Read(R"({"v":2,"type":"seated","seat":4,"token":"x"})");
  EXPECT_EQ(lobby.LastFault(), Fault::kVersion);
  lobby.BeginJoin("K7P2QXM4TR", 4, "Ana");
  lobby.Read(R"({"v":1,"type":"error","error":"full","text":"x"})");
  EXPECT_STREQ(FaultText(lobby.LastFault()), kNetworkFull);

  EXPECT_EQ(CheckedCode(" k7p-2q0 m4tr "), "K7P2QOM4TR");
  EXPECT_FALSE(CheckedCode("K7P2QX"));
  EXPECT_EQ(CheckedName(U"  ana  maría "), "Ana  María");
  EXPECT_FALSE(CheckedName(U"   "));
  EXPECT_EQ(ParseServerChoice(ServerChoiceText("[::1]:7777")), "[::1]:7777");
  EXPECT_EQ(ParseServerChoice("Servidor=a b\r\n"), "");
  // The seat kept for a return travels beside the address, and a damaged line gives none.
  const std::string both =
      ServerChoiceText("a:1", KeptTable{"wss://[::1]:7777", "K7P2QXM4TR", 3, "t0k"});
  const auto kept = ParseKeptTable(both);
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->Address + " " + kept->Code + " " + kept->Token,
            "wss://[::1]:7777 K7P2QXM4TR t0k");
  EXPECT_EQ(kept->Seat, 3);
  EXPECT_EQ(ParseServerChoice(both), "a:1");
  EXPECT_FALSE(ParseKeptTable("Mesa=a:1 K7P2QXM4TR 5 t\r\n"));
  EXPECT_FALSE(ParseKeptTable("Mesa=a:1 K7P2QXM4TR 3\r\n"));
}

TEST(Lobby, ALookOffersOnlyFreeSeatsAndNamesTheComputerAsItsCreatorDoes) {
  GameState settings;
  settings.SeatControl[2] = kManual;
  settings.SeatLevel[1] = 20;
  settings.SeatExpert[3] = true;
  Room room;
  Lobby host;
  room.Send(1, host.BeginCreate(settings, PlanFromSettings(settings), "Ana"));
  room.Pump(1, host);
  ASSERT_EQ(host.CurrentStage(), Lobby::Stage::kSeated);
  room.Send(2, LookRequest(host.Code()));
  const auto look = ReadLookAnswer(room.inbox[2].back());
  ASSERT_TRUE(look);
  EXPECT_EQ(look->Code, host.Code());
  EXPECT_FALSE(look->Started);
  // Seat 4 is the host's, 2 a free person's; 1 and 3 the server's.
  EXPECT_FALSE(look->Seats[4].Free());
  EXPECT_TRUE(look->Seats[2].Free());
  EXPECT_FALSE(look->Seats[1].Free());
  EXPECT_EQ(OfferedSeat(look->Seats, 4), 2);
  EXPECT_EQ(OfferedSeat(look->Seats, 2), 2);
  // The guest and the host read the computer's seat in the same words.
  EXPECT_EQ(ServerSeatText(look->Seats[1]), NetworkComputerText(20));
  EXPECT_EQ(ServerSeatText(host.Seats()[1]), NetworkComputerText(20));
  EXPECT_EQ(ServerSeatText(look->Seats[3]), kNetworkExpert);
  // A code nobody has is the lobby's own fault; a stranger's answer is nothing.
  room.Send(2, LookRequest("ZZZZZZZZZZ"));
  EXPECT_EQ(ReadLookAnswer(room.inbox[2].back())->Refused, Fault::kNoTable);
  EXPECT_FALSE(ReadLookAnswer(R"({"v":1,"type":"seats","code":"K7P2QX","seats":[]})"));
  EXPECT_FALSE(ReadLookAnswer(R"({"v":2,"type":"seats"})"));
  EXPECT_FALSE(ReadLookAnswer("not json"));
}

TEST(ServerChoice, TheWindowsPageCodeAndNameComeBackBesideTheKeptSeat) {
  ServerFile file{"127.0.0.1:7801",
                  KeptTable{"127.0.0.1:7801", "K7P2QX", 2, "t0k"},
                  NetworkWindowMemory{true, "K7P2QX", "Beatriz Núñez"},
                  {}};
  const ServerFile back = ParseServerFile(ServerFileText(file));
  EXPECT_EQ(back.Address, file.Address);
  ASSERT_TRUE(back.Table);
  EXPECT_EQ(back.Table->Token, "t0k");
  EXPECT_EQ(back.Window, file.Window);
  EXPECT_FALSE(back.ChatHidden);
  // The hidden chat is remembered beside the rest, a window never opened too.
  file.ChatHidden = true;
  EXPECT_TRUE(ParseServerFile(ServerFileText(file)).ChatHidden);
  EXPECT_TRUE(
      ParseServerFile(ServerFileText(ServerFile{"a:1", std::nullopt, {}, {}, true})).ChatHidden);
  file.ChatHidden = false;
  // A damaged line costs only its field.
  const ServerFile damaged =
      ParseServerFile("Servidor=a:1\r\nPagina=unirse\r\nCodigo=K7 P2\r\nNombre=A\x01na\r\n");
  EXPECT_TRUE(damaged.Window.Joining);
  EXPECT_EQ(damaged.Window.Code, "");
  EXPECT_EQ(damaged.Window.Name, "");
  EXPECT_EQ(damaged.Address, "a:1");
  // A name that would break the file's lines is not written.
  file.Window.Name = "Ana\r\nMesa=x";
  EXPECT_FALSE(ParseServerFile(ServerFileText(file)).Window.Name.starts_with("Ana"));
  EXPECT_EQ(ParseServerFile(ServerFileText(file)).Table->Code, "K7P2QX");
}

}  // namespace
}  // namespace tarvelis::net
