#include "protocol/protocol.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/json.h"
#include "protocol/rules_line.h"

namespace tarvelis::server {
namespace {

TEST(ReadRequest, TakesEachKindOfRequestWithItsFields) {
  const ReadOutcome create = ReadRequest(
      R"({"v":1,"type":"create","seats":[{"kind":"person"},{"kind":"computer","level":70},)"
      R"({"kind":"expert"},{"kind":"person"}],"rules":{"mode":"individual","target":9,)"
      R"("next_lead":"loser","tie_winner":"non_leaders"}})");
  ASSERT_TRUE(create.Ok);
  EXPECT_EQ(create.Value.Setup.Seats[2].Kind, SeatKind::kComputer);
  EXPECT_EQ(create.Value.Setup.Seats[2].Level, 70);
  EXPECT_EQ(create.Value.Setup.Seats[3].Kind, SeatKind::kExpert);
  EXPECT_EQ(create.Value.Setup.Rules.RuleMode, kModeIndividual);
  EXPECT_EQ(create.Value.Setup.Rules.MatchTarget, 9);
  EXPECT_EQ(create.Value.Setup.Rules.RuleNextLead, kNextLeadLoser);
  EXPECT_EQ(create.Value.Setup.Rules.RuleTieWinner, kTieNonLeaders);

  const ReadOutcome move =
      ReadRequest(R"({"v":1,"type":"move","hand":2,"move":5,"tile":[6,3],"end":2})");
  ASSERT_TRUE(move.Ok);
  EXPECT_EQ(move.Value.PipA, 6);
  EXPECT_EQ(move.Value.PipB, 3);
  EXPECT_EQ(move.Value.End, 2);
  EXPECT_FALSE(move.Value.Auto);

  const ReadOutcome join =
      ReadRequest(R"({"v":1,"type":"join","code":"K7P2QXM4TR","seat":3,"name":"Ñoño \u00e9"})");
  ASSERT_TRUE(join.Ok);
  EXPECT_EQ(join.Value.Name, "Ñoño é");
}

TEST(ReadRequest, TakesTheRoomsRequestsAndTheirRulesLine) {
  const ReadOutcome enter = ReadRequest(R"({"v":1,"type":"enter","key":")" + std::string(32, 'A') +
                                        std::string(32, '7') + R"(","name":"Ana"})");
  ASSERT_TRUE(enter.Ok);
  EXPECT_EQ(enter.Value.Type, RequestType::kEnter);
  // One key, however its digits were written.
  EXPECT_EQ(enter.Value.Key, std::string(32, 'a') + std::string(32, '7'));
  const ReadOutcome say = ReadRequest(R"({"v":1,"type":"say","to":"table","text":"hola"})");
  ASSERT_TRUE(say.Ok);
  EXPECT_FALSE(say.Value.ToRoom);
  const ReadOutcome open = ReadRequest(
      R"({"v":1,"type":"create","public":true,"seats":[{"kind":"person"},{"kind":"person"},)"
      R"({"kind":"person"},{"kind":"person"}]})");
  ASSERT_TRUE(open.Ok);
  EXPECT_TRUE(open.Value.Public);
  const ReadOutcome quick = ReadRequest(R"({"v":1,"type":"quick","rules":{"target":3}})");
  ASSERT_TRUE(quick.Ok);
  EXPECT_EQ(quick.Value.Setup.Rules.MatchTarget, 3);
  // A table's rules in one line: the same rules, the same line, whoever
  // named them; one rule apart, another line.
  HouseRules named = quick.Value.Setup.Rules;
  HouseRules other = named;
  other.RuleTieLead = kTieRotateLead;
  EXPECT_EQ(RoomRulesLine(named), "Parejas, partida a 3 puntos, por decenas");
  EXPECT_NE(RoomRulesLine(other), RoomRulesLine(named));
  EXPECT_NE(RoomRulesLine(other).find("En caso de empate sale: Se corre el turno"),
            std::string::npos);
  for (const char* text : {
           R"({"v":1,"type":"enter","key":"abc","name":"x"})",
           R"({"v":1,"type":"enter","name":"x"})",
           R"({"v":1,"type":"say","to":"everyone","text":"x"})",
           R"({"v":1,"type":"watch","code":"../x"})",
           R"({"v":1,"type":"fill","code":"K7P2QXM4TR"})",
           R"({"v":1,"type":"quick","rules":{"mode":"trios"}})",
       }) {
    EXPECT_FALSE(ReadRequest(text).Ok) << text;
  }
}

TEST(ReadRequest, RefusesAnythingMisshapenBeforeUsingIt) {
  const std::string bad[] = {
      "", "[]",
      R"({"type":"start"})",                                      // no version
      R"({"v":1,"type":"start","extra":1})",                      // unknown member
      R"({"v":1,"type":"start","type":"leave"})",                 // repeated member
      R"({"v":1,"type":"move","hand":1,"move":1,"tile":[7,1]})",  // no such pip
      R"({"v":1,"type":"move","hand":1,"move":1,"tile":[1.5,1]})",
      R"({"v":1,"type":"move","hand":1,"move":1,"tile":[1,1],"auto":true})",
      R"({"v":1,"type":"move","hand":1,"move":1,"end":3,"tile":[1,1]})",
      R"({"v":1,"type":"join","code":"../etc","seat":1,"name":"x"})",  // not a code
      R"({"v":1,"type":"join","code":"K7P2QXM4TR","seat":5,"name":"x"})",
      R"({"v":1,"type":"resume","code":"K7P2QXM4TR","token":"ABC"})",
      R"({"v":1,"type":"create","seats":[{"kind":"person"}]})",
      R"({"v":1,"type":"create","seats":[{"kind":"person"},{"kind":"person"},{"kind":"person"},)"
      R"({"kind":"person"}],"rules":{"mode":"trios"}})",
      // not UTF-8
      "{\"v\":1,\"type\":\"join\",\"code\":\"K7P2QXM4TR\",\"seat\":1,\"name\":\"\xff\"}",
      R"({"v":1,"type":"start"} x)",
      std::string(5000, ' ') + R"({"v":1,"type":"start"})",   // too long
      R"({"v":1,"type":"start","a":[[[[[[[[[[1]]]]]]]]]]})",  // too deep
  };
  for (const std::string& text : bad) EXPECT_FALSE(ReadRequest(text).Ok) << text;
  EXPECT_EQ(ReadRequest(R"({"v":2,"type":"start"})").Error, ErrorCode::kVersion);
}

TEST(Json, WritesANumberBackAsTheSameNumber) {
  for (const char* text : {"58888888.88888888888", "0.1", "-2.5e-300", "1e300", "12"}) {
    const auto once = ParseJson(text);
    ASSERT_TRUE(once) << text;
    const auto again = ParseJson(once->Dump());
    ASSERT_TRUE(again) << text;
    EXPECT_EQ(again->Dump(), once->Dump()) << text;
  }
}

TEST(FloodGate, LetsABurstThroughThenOnlyTheRefillRate) {
  FloodGate gate(10, 5);
  int admitted = 0;
  for (int i = 0; i < 50; ++i) admitted += gate.Admit(1000) ? 1 : 0;
  EXPECT_EQ(admitted, 5);
  // A second refills more than the bucket holds: a burst again, no more.
  admitted = 0;
  for (int i = 0; i < 50; ++i) admitted += gate.Admit(2000) ? 1 : 0;
  EXPECT_EQ(admitted, 5);
  EXPECT_FALSE(gate.Admit(2050));
  EXPECT_TRUE(gate.Admit(2100));
}

}  // namespace
}  // namespace tarvelis::server
