// The room's probe: what it counts as the room it entered, and which of the
// news a bot hears are its own changes.
#include "server/bots_probe.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvelis::server {
namespace {

std::string NewsOf(const Json& enter) {
  // The server tells the others of the new name in a room_person line.
  return R"({"v":1,"type":"room_person","person":{"id":9,"name":")" + *enter.StringAt("name", 64) +
         R"(","tag":"","rating":1500,"where":""}})";
}

TEST(BotsProbe, TheListingIsMeasuredOnceThoughEnteringAgainBringsTheRoomAgain) {
  RoomProbe probe;
  probe.EnterSent(1000);
  EXPECT_TRUE(probe.Received("room", 100, 3000));
  EXPECT_FALSE(probe.Received("room_person", 50, 4000));
  probe.Line(0, 5000);
  // A change: the room comes again, which must not start the lines again.
  probe.Change(0, 6000);
  EXPECT_FALSE(probe.Received("room", 100, 90000));
  const std::string report = probe.Report(2, 1, 0);
  EXPECT_NE(report.find(R"("enter_ms":2.0,"whole_room_ms":3.0,"enter_bytes":150)"),
            std::string::npos)
      << report;
}

TEST(BotsProbe, OnlyTheProbesOwnChangesAreTimedAndEachFromItsAsking) {
  RoomProbe probe;
  const Json first = probe.Change(0, 10'000);
  const Json second = probe.Change(1, 20'000);
  EXPECT_EQ(*first.StringAt("type", 16), "enter");
  probe.HeardNews(NewsOf(second), 150'000);
  probe.HeardNews(NewsOf(first), 160'000);
  // Another person's news, a table's, and a name that only looks alike.
  probe.HeardNews(R"({"v":1,"type":"room_person","person":{"id":3,"name":"Bot3"}})", 170'000);
  probe.HeardNews(R"({"v":1,"type":"room_table","table":{"code":"ABC"}})", 170'000);
  probe.HeardNews(R"({"v":1,"type":"room_person","person":{"name":"cambio 4"}})", 170'000);
  EXPECT_EQ(probe.HeardChanges(), 2u);
  const std::string report = probe.Report(2, 1, 0);
  EXPECT_NE(report.find(R"("change_median_ms":130.0,"change_p99_ms":130.0,"change_max_ms":150.0)"),
            std::string::npos)
      << report;
}

}  // namespace
}  // namespace tarvelis::server
