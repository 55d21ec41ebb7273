#include "web/web_table.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "layout/artwork_layout.h"
#include "protocol/json.h"
#include "protocol/protocol.h"
#include "server/hall.h"

namespace tarvelis::web {
namespace {

using server::Hall;
using server::Json;

constexpr server::JsonLimits kBig{1 << 20, 8, 1 << 16};

// A hall and the browser's seat at one of its tables, the messages carried
// between them by hand; connection 1 is the page, 2 the table's creator.
struct Room {
  Hall hall{[] {
    server::HallOptions o;
    o.Seed = 11;
    return o;
  }()};
  WebTable page{1365, 768};
  std::int64_t now = 0;
  std::map<std::pair<int, int>, std::pair<int, int>> laid;  // (hand, move) -> tile sorted
  std::vector<std::string> errors;

  std::string Create(const char* seats) {
    hall.Opened(2);
    Json list = Json::Array();
    for (const char* k = seats; *k != 0; ++k)
      list.Push(Json::Object().Set("kind", *k == 'p' ? "person" : "computer"));
    hall.Received(2,
                  Json::Object()
                      .Set("v", 1)
                      .Set("type", "create")
                      .Set("seats", std::move(list))
                      .Set("rules", Json::Object().Set("target", 2))
                      .Dump(),
                  now);
    std::string code;
    for (auto& [conn, text] : hall.TakeSends()) {
      const auto j = server::ParseJson(text, kBig);
      if (conn == 2 && j) code = j->StringAt("code", 16).value_or("");
    }
    return code;
  }

  // Carries messages both ways until neither side has more to say.
  void Carry() {
    for (int round = 0; round < 100; ++round) {
      bool any = false;
      for (std::string& m : page.TakeOutgoing()) {
        any = true;
        hall.Received(1, m, ++now);
      }
      for (auto& [conn, text] : hall.TakeSends()) {
        if (conn != 1) continue;
        any = true;
        const auto j = server::ParseJson(text, kBig);
        ASSERT_TRUE(j);
        const std::string type = j->StringAt("type", 32).value_or("");
        if (type == "laid") {
          const Json* t = j->Find("tile");
          const int a = static_cast<int>(t->Items()[0].AsNumber());
          const int b = static_cast<int>(t->Items()[1].AsNumber());
          laid[{*j->IntAt("hand", 0, 1000), *j->IntAt("move", 0, 1000)}] = {std::min(a, b),
                                                                            std::max(a, b)};
        }
        if (type == "error") errors.push_back(j->StringAt("error", 64).value_or(""));
        page.Received(text);
      }
      if (!any) return;
    }
  }

  std::vector<Json> Targets() const { return server::ParseJson(page.Targets(), kBig)->Items(); }
};

// Every operation of the draw list lies on the table and takes its picture
// from inside its strip: the page's script copies them without a check.
void ExpectDrawListSound(const WebTable& page) {
  const auto list = server::ParseJson(page.DrawList(), kBig);
  ASSERT_TRUE(list && list->IsArray());
  const art::Size strips[] = {art::kMarmolSize,   art::kDibujosSize, art::kPunNegSize,
                              art::kPuntitosSize, art::kDorsosSize,  art::kBmpVarioSize,
                              art::kPiezasSize,   art::kManosSize,   art::kMensajesSize};
  for (const Json& op : list->Items()) {
    const std::string kind = op.Items()[0].AsString();
    auto n = [&](std::size_t i) { return static_cast<int>(op.Items()[i].AsNumber()); };
    if (kind == "c" || kind == "m") {
      const art::Size s = strips[n(1)];
      EXPECT_LE(n(2) + n(4), s.w) << op.Dump();
      EXPECT_LE(n(3) + n(5), s.h) << op.Dump();
      const std::size_t at = kind == "c" ? 6 : 8;
      if (kind == "m") {
        EXPECT_LE(n(7) + n(5), s.h) << op.Dump();
      }
      // The spiral's outer turn of a very long chain can lay a tile a few
      // pixels past the right or bottom edge of a blown-up table: the core's
      // layout does it on the desktop too, so the page only has to draw it
      // where the layout put it.
      constexpr int kChainOverhang = 8;
      EXPECT_GE(n(at), 0) << op.Dump();
      EXPECT_LE(n(at) + n(4), page.TableWidth() + kChainOverhang) << op.Dump();
      EXPECT_LE(n(at + 1) + n(5), page.TableHeight() + kChainOverhang) << op.Dump();
    }
  }
}

// A whole match from the browser's seat: the page sits down at the first
// free person's seat, starts the match, and answers every question by a
// press on what it offers (a tile, an end arrow, the continue button, a
// notice put away). The chain it draws is always the server's.
TEST(WebTable, PlaysAWholeMatchByPressesDrawingTheServersChain) {
  Room room;
  const std::string code = room.Create("cpcc");
  ASSERT_EQ(code.size(), server::kCodeLength);
  room.hall.Opened(1);
  room.page.Enter(code, "", "Ana");
  room.Carry();
  EXPECT_EQ(room.page.Seat(), 2);  // seat 1 is the computer's: the next is tried
  EXPECT_EQ(room.page.Token().size(), 32u);
  EXPECT_EQ(room.page.CurrentStage(), Stage::kPlaying);
  EXPECT_EQ(room.errors, std::vector<std::string>{"not_person"});
  room.errors.clear();
  int presses = 0, arrows = 0, autos = 0;
  while (room.page.CurrentStage() == Stage::kPlaying && presses < 3000) {
    const std::vector<Json> targets = room.Targets();
    if (targets.empty()) {
      room.hall.Tick(room.now += 130000);  // nothing asked: let the table's clock run
      room.Carry();
      continue;
    }
    // Now and then the continue button, else the first thing offered.
    const Json* pick = &targets.front();
    for (const Json& t : targets) {
      if (presses % 7 == 3 && t.StringAt("kind", 16) == "continue") pick = &t;
    }
    const std::string kind = *pick->StringAt("kind", 16);
    arrows += kind == "arrow" ? 1 : 0;
    autos += kind == "continue" ? 1 : 0;
    room.page.Press(*pick->IntAt("x", 0, 4000) + *pick->IntAt("w", 0, 4000) / 2,
                    *pick->IntAt("y", 0, 4000) + *pick->IntAt("h", 0, 4000) / 2);
    ++presses;
    room.Carry();
    ExpectDrawListSound(room.page);
    const auto list = server::ParseJson(room.page.DrawList(), kBig);
    for (const Json& op : list->Items()) {
      if (op.Items()[0].AsString() != "k") continue;
      const int move = static_cast<int>(op.Items()[1].AsNumber());
      const int a = static_cast<int>(op.Items()[2].AsNumber());
      const int b = static_cast<int>(op.Items()[3].AsNumber());
      const auto sent = room.laid.find({room.page.HandNumber(), move});
      ASSERT_NE(sent, room.laid.end()) << "move " << move << " drawn, never laid";
      EXPECT_EQ(sent->second, std::make_pair(std::min(a, b), std::max(a, b))) << "move " << move;
    }
  }
  EXPECT_EQ(room.page.CurrentStage(), Stage::kFinished);
  EXPECT_TRUE(room.errors.empty()) << room.errors.front();
  EXPECT_GE(room.page.HandNumber(), 1);
  EXPECT_GT(autos, 0);
  EXPECT_GE(presses, 7);
  EXPECT_GT(arrows, 0);  // the seeded deals ask for an end now and then
}

// The kept token brings the page back to its seat on a new connection; a
// token or a code the server does not know is refused in the server's words
// and the token is forgotten, and a full table says so.
TEST(WebTable, ComesBackWithItsTokenAndShowsEveryRefusal) {
  Room room;
  const std::string code = room.Create("pccc");
  room.hall.Opened(1);
  room.page.Enter(code, "", "");
  room.Carry();
  const std::string token = room.page.Token();
  ASSERT_EQ(room.page.CurrentStage(), Stage::kPlaying);

  // A reload: a new page on a new connection, with the token kept.
  room.hall.Closed(1, ++room.now);
  WebTable again(640, 480);
  room.hall.Opened(3);
  again.Enter(code, token, "");
  for (std::string& m : again.TakeOutgoing()) room.hall.Received(3, m, ++room.now);
  for (auto& [conn, text] : room.hall.TakeSends())
    if (conn == 3) again.Received(text);
  EXPECT_EQ(again.Seat(), 1);
  EXPECT_EQ(again.CurrentStage(), Stage::kPlaying);
  EXPECT_FALSE(server::ParseJson(again.Targets(), kBig)->Items().empty());

  WebTable stranger(800, 600);
  room.hall.Opened(4);
  stranger.Enter(code, std::string(32, 'f'), "");
  for (std::string& m : stranger.TakeOutgoing()) room.hall.Received(4, m, ++room.now);
  for (auto& [conn, text] : room.hall.TakeSends())
    if (conn == 4) stranger.Received(text);
  EXPECT_EQ(stranger.CurrentStage(), Stage::kRefused);
  EXPECT_TRUE(stranger.Token().empty());
  EXPECT_FALSE(stranger.StatusText().empty());

  // Every person's seat taken: each seat is tried, then the refusal shown.
  WebTable late(800, 600);
  room.hall.Opened(5);
  late.Enter(code, "", "");
  for (int round = 0; round < 10; ++round) {
    for (std::string& m : late.TakeOutgoing()) room.hall.Received(5, m, ++room.now);
    for (auto& [conn, text] : room.hall.TakeSends())
      if (conn == 5) late.Received(text);
  }
  EXPECT_EQ(late.CurrentStage(), Stage::kRefused);
  EXPECT_EQ(late.Seat(), 0);
  EXPECT_FALSE(late.StatusText().empty());
}

}  // namespace
}  // namespace tarvelis::web
