// Any bytes as client messages. The reader either refuses a text or gives a
// request whose every field is in range; the JSON it accepts writes back to
// text that reads the same. An input of several lines then goes to a hall,
// each line from one of the clients of a started table: whatever they ask,
// the table's match stays one the rules allow.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/consistency.h"
#include "protocol/json.h"
#include "protocol/protocol.h"
#include "server/hall.h"

namespace {

using namespace tarvelis;
using namespace tarvelis::server;

void CheckRequest(std::string_view text) {
  const ReadOutcome read = ReadRequest(text);
  if (!read.Ok) return;
  const Request& r = read.Value;
  const bool inRange = r.Seat >= 0 && r.Seat <= kSeats && r.PipA >= 0 && r.PipA <= 6 &&
                       r.PipB >= 0 && r.PipB <= 6 && r.End >= 0 && r.End <= 2 &&
                       r.Name.size() <= 64 && (r.Code.empty() || IsCodeText(r.Code)) &&
                       (r.Token.empty() || IsTokenText(r.Token));
  if (!inRange) std::abort();
}

void CheckRoundTrip(std::string_view text) {
  const auto parsed = ParseJson(text);
  if (!parsed) return;
  const std::string once = parsed->Dump();
  const auto again = ParseJson(once, {once.size() + 1, 64, 1 << 20});
  if (!again || again->Dump() != once) std::abort();
}

void PlayLines(std::string_view bytes) {
  HallOptions options;
  options.Seed = 12345;  // the same input plays the same deal
  Hall hall(options);
  for (int conn = 1; conn <= 5; ++conn) hall.Opened(conn);
  hall.Received(5,
                R"({"v":1,"type":"create","seats":[{"kind":"person"},{"kind":"computer"},)"
                R"({"kind":"person"},{"kind":"computer"}]})",
                0);
  const auto created = ParseJson(hall.TakeSends().at(0).second);
  const std::string code = created->StringAt("code", 16).value();
  for (int seat : {1, 3}) {
    hall.Received(seat,
                  R"({"v":1,"type":"join","code":")" + code + R"(","seat":)" +
                      std::to_string(seat) + R"(,"name":"x"})",
                  0);
  }
  hall.Received(1, R"({"v":1,"type":"start"})", 0);
  std::int64_t now = 0;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    if (line.empty()) continue;
    const int conn = static_cast<unsigned char>(line[0]) % 6;  // 0: a stranger
    line.remove_prefix(1);
    now += 100;
    if (conn == 0) {
      hall.Tick(now + 200000);
      continue;
    }
    hall.Received(conn, line, now);
    hall.TakeSends();
  }
  const ServerTable* table = hall.Find(code);
  if (table == nullptr || table->Violations() != 0) std::abort();
  if (!CheckState(table->State()).empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckRequest(bytes);
  CheckRoundTrip(bytes);
  // A table costs far more than a reading; only inputs of several lines get
  // one, so the reader is still tried thousands of times a second.
  if (bytes.find('\n') != std::string_view::npos) PlayLines(bytes);
  return 0;
}
