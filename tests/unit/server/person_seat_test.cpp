// A person's seat played by the computer ("auto", a person away or silent too
// long) must play only from what that seat sees: its own tiles and the
// table's record. Positions come from real server tables; each is played
// once as it stands and again with the tiles the seat cannot see dealt
// otherwise among the other seats, through the table's file and an "auto"
// answer, the path a person's client takes.
#include <gtest/gtest.h>

#include <bit>
#include <optional>
#include <string>
#include <vector>

#include "model/consistency.h"
#include "model/deal_statistics.h"
#include "model/move_rules.h"
#include "player/expert_knowledge.h"
#include "server/hall.h"
#include "storage/state_file.h"

namespace tarvelis::server {
namespace {

constexpr int kCreator = 9;

std::optional<Json> LastOf(const std::vector<std::pair<int, std::string>>& sends, int conn,
                           const std::string& type) {
  for (auto it = sends.rbegin(); it != sends.rend(); ++it) {
    if (it->first != conn) continue;
    auto j = ParseJson(it->second, {1 << 20, 8, 512});
    if (j && j->StringAt("type", 32) == type) return j;
  }
  return std::nullopt;
}

// The files of a table of four people (the rules player's best level, pairs)
// each time a seat with a choice to make is asked, the seats answering with
// their first playable tile.
std::vector<std::string> AskedPositions(int matches) {
  std::vector<std::string> files;
  for (int match = 0; match < matches; ++match) {
    HallOptions options;
    options.Seed = 101 + static_cast<std::uint32_t>(match);
    Hall hall(options);
    hall.Opened(kCreator);
    hall.Received(kCreator,
                  R"({"v":1,"type":"create","seats":[{"kind":"person","level":100},)"
                  R"({"kind":"person","level":100},{"kind":"person","level":100},)"
                  R"({"kind":"person","level":100}],"rules":{"target":100}})",
                  0);
    const std::string code =
        LastOf(hall.TakeSends(), kCreator, "created")->StringAt("code", 16).value();
    for (int seat = 1; seat <= kSeats; ++seat) {
      hall.Opened(seat);
      hall.Received(seat,
                    R"({"v":1,"type":"join","code":")" + code + R"(","seat":)" +
                        std::to_string(seat) + R"(,"name":"P"})",
                    0);
    }
    hall.Received(1, R"({"v":1,"type":"start"})", 0);
    ServerTable& table = *hall.Find(code);
    const GameState& s = table.State();
    for (int i = 0; i < 2000 && !table.Finished(); ++i) {
      const int seat = s.CurrentSeat;
      const std::string q = table.QuestionFor(seat);
      if (q.empty()) break;
      const bool choice = s.MoveNumber == 1 || ListCandidates(s, seat).Count >= 2;
      if (choice) files.push_back(table.FileText());
      const Json first = ParseJson(q, {1 << 20, 8, 512})->Find("playable")->Items().at(0);
      hall.Received(seat,
                    R"({"v":1,"type":"move","hand":)" + std::to_string(s.HandNumber) +
                        R"(,"move":)" + std::to_string(s.MoveNumber) + R"(,"tile":)" +
                        first.Find("tile")->Dump() + R"(,"end":)" +
                        first.Find("ends")->Items().back().Dump() + "}",
                    0);
      hall.TakeSends();
    }
  }
  return files;
}

// Another deal of the tiles the seat to move cannot see, drawn among those
// that keep every seat's count and give no seat a suit it passed on, with
// what the deal derives from the hands computed again. False when the deal
// drawn is the one in play or breaks a rule of the deal.
bool RedealUnseenTiles(const GameState& s, expert::Rng& rng, GameState& out) {
  out = s;
  const int me = s.CurrentSeat;
  PerSeat<expert::TileSet> hands{};
  expert::DealSampler(expert::KnowledgeAt(s, me, s.MoveNumber)).Draw(rng, hands);
  bool moved = false;
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (seat == me) continue;
    expert::TileSet left = hands[seat];
    for (int slot = 1; slot <= kSlots; ++slot) {
      HandSlot& t = out.Hand[seat][slot];
      if (t.State != 0 || left == 0) continue;
      const int tile = std::countr_zero(left);
      left &= left - 1;
      const HandSlot dealt{static_cast<i16>(expert::TileHigh(tile)),
                           static_cast<i16>(expert::TileLow(tile)), 0};
      moved = moved || expert::TileIndex(t.PipA, t.PipB) != tile;
      t = dealt;
    }
    if (left != 0) return false;
  }
  out.SeatPipCount = {};
  out.SeatDoubles = {};
  out.DoubleHolder = {};
  ComputeDealStatistics(out);
  ComputeRanks(out);
  for (int seat = 1; seat <= kSeats; ++seat) {
    if (out.SeatDoubles[seat] >= 5) return false;
  }
  return moved && CheckState(out).empty();
}

// The move the table's computer makes for the seat asked in `file` when its
// person answers "auto", as "laid" or "passed" tells every seat.
std::string AutoMove(const std::string& file) {
  auto table = ServerTable::FromFileText(file, 7, {}, 0);
  if (table == nullptr) return "unreadable";
  const GameState& s = table->State();
  const int seat = s.CurrentSeat;
  Request move;
  move.Type = RequestType::kMove;
  move.Hand = s.HandNumber;
  move.Move = s.MoveNumber;
  move.Auto = true;
  ErrorCode error = ErrorCode::kBadMessage;
  if (!table->Answer(seat, move, error, 0)) return "refused";
  for (const Outgoing& out : table->TakeOutbox()) {
    const Json j = ParseJson(out.Text, {1 << 20, 8, 512}).value();
    const auto type = j.StringAt("type", 32);
    if ((type == "laid" || type == "passed") && j.IntAt("seat", 1, 4) == seat) {
      const Json* tile = j.Find("tile");
      return *type + (tile != nullptr ? tile->Dump() : "") +
             std::to_string(j.IntAt("end", 0, 9).value_or(0));
    }
  }
  return "none";
}

TEST(PersonSeat, PlayedByTheComputerItMovesTheSameWhateverTheTilesItCannotSee) {
  const std::vector<std::string> files = AskedPositions(3);
  expert::Rng rng(17);
  int compared = 0;
  int changed = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string& file = files[i];
    const std::size_t at = file.find("\nstate\n");
    ASSERT_NE(at, std::string::npos);
    const std::string head = file.substr(0, at + 7);
    const auto table = ServerTable::FromFileText(file, 7, {}, 0);
    ASSERT_NE(table, nullptr);
    // Late in a hand, where a player who peeked would read the others'
    // last tiles.
    if (table->State().MoveNumber < 18) continue;
    const std::string played = AutoMove(file);
    for (int deal = 0; deal < 6; ++deal) {
      GameState swapped;
      if (!RedealUnseenTiles(table->State(), rng, swapped)) continue;
      ++compared;
      const std::string again = AutoMove(head + StateFileText(swapped));
      if (again != played) ++changed;
      EXPECT_EQ(again, played) << "hand " << swapped.HandNumber << " move " << swapped.MoveNumber
                               << " seat " << swapped.CurrentSeat;
    }
  }
  EXPECT_GE(compared, 150);
  EXPECT_EQ(changed, 0) << "of " << compared;
}

}  // namespace
}  // namespace tarvelis::server
